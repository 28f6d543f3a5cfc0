#include "cli/CommandLine.h"

#include "cli/Failure.h"
#include "cli/ParamText.h"

namespace varmo::cli {

namespace {

// "--name value" or "--name=value"; i moves past what was taken.
std::string optionValue(const std::vector<std::string>& args, std::size_t& i,
                        const std::string& name)
{
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg[name.size()] == '=')
        return arg.substr(name.size() + 1);
    if (i + 1 >= args.size())
        throw UsageError(name + " wymaga wartości");
    return args[++i];
}

bool isOption(const std::string& arg, const std::string& name)
{
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

// The options that take a value, in either of its two forms.
const char* const kValued[] = {"--port", "--speed", "--codepage", "--timeout", "--listen",
                               "--book-server", "--book"};
const char* const kFlags[] = {"-h", "--help", "-V", "--version", "--json", "--no-check",
                              "--force"};

// How many words the option at words[i] takes, its value included; 0 when
// it is none of varmo-cli's options.
std::size_t optionWords(const std::vector<std::string>& words, std::size_t i)
{
    const std::string& word = words[i];
    for (const char* flag : kFlags)
        if (word == flag)
            return 1;
    for (const char* option : kValued) {
        if (word.rfind(std::string(option) + "=", 0) == 0)
            return 1;
        if (word == option)
            return i + 1 < words.size() ? 2 : 1;
    }
    return 0;
}

std::int32_t positive(const std::string& text, const char* what)
{
    const std::int32_t value = IntegerParam(text, what);
    if (value <= 0)
        throw UsageError(std::string(what) + ": musi być większe od 0");
    return value;
}

}  // namespace

Invocation ParseCommandLine(const std::vector<std::string>& args)
{
    Invocation invocation;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg.empty() || arg[0] != '-')
            break;
        if (arg == "-h" || arg == "--help")
            invocation.help = true;
        else if (arg == "-V" || arg == "--version")
            invocation.version = true;
        else if (arg == "--json")
            invocation.json = true;
        else if (arg == "--no-check")
            invocation.check = false;
        else if (arg == "--force")
            invocation.force = true;
        else if (isOption(arg, "--port"))
            invocation.port = optionValue(args, i, "--port");
        else if (isOption(arg, "--speed"))
            invocation.speed = positive(optionValue(args, i, "--speed"), "--speed");
        else if (isOption(arg, "--codepage")) {
            const std::string value = optionValue(args, i, "--codepage");
            if (value != "maz" && value != "win")
                throw UsageError("--codepage: maz albo win, nie \"" + value + "\"");
            invocation.codePage = value;
        } else if (isOption(arg, "--timeout"))
            invocation.times.answerMs = invocation.times.statusMs =
                positive(optionValue(args, i, "--timeout"), "--timeout");
        else if (isOption(arg, "--book-server"))
            invocation.bookServer = optionValue(args, i, "--book-server");
        else if (isOption(arg, "--book"))
            invocation.book = optionValue(args, i, "--book");
        else if (isOption(arg, "--listen"))
            invocation.listenMs = IntegerParam(optionValue(args, i, "--listen"), "--listen");
        else
            throw UsageError("nieznana opcja " + arg + " (lista: varmo-cli --help)");
    }
    if (invocation.listenMs && *invocation.listenMs < 0)
        throw UsageError("--listen: nie może być mniejsze od 0");
    // The check's own exchange shows what the printer says after a command;
    // without it, the line is watched a while instead.
    invocation.times.listenMs = invocation.listenMs.value_or(invocation.check ? 0 : 300);
    invocation.times.sequenceListenMs = invocation.listenMs.value_or(300);
    const auto command = args.begin() + static_cast<std::ptrdiff_t>(i);
    invocation.options.assign(args.begin(), command);
    if (!invocation.options.empty() && invocation.options.back() == "--")
        invocation.options.pop_back();
    invocation.words.assign(command, args.end());
    return invocation;
}

CliFailure OptionsBeforeCommand(const Invocation& invocation, const CliFailure& error)
{
    const std::vector<std::string>& words = invocation.words;
    if (error.Code() != ExitCode::Usage || words.empty())
        return error;
    std::vector<std::string> moved;
    std::vector<std::string> rest;
    for (std::size_t i = 1; i < words.size();) {
        // check and book take --json after them too, as one of their own.
        const bool own = (words[0] == "check" || words[0] == "book") && words[i] == "--json";
        const std::size_t taken = own ? 0 : optionWords(words, i);
        if (taken == 0)
            rest.push_back(words[i++]);
        for (std::size_t n = 0; n < taken; ++n)
            moved.push_back(words[i++]);
    }
    if (moved.empty())
        return error;
    // The command line as it should have been, to be typed again.
    std::string line = "varmo-cli";
    const auto add = [&line](const std::string& word) {
        line += word.find(' ') == std::string::npos ? " " + word : " \"" + word + "\"";
    };
    for (const std::string& word : invocation.options)
        add(word);
    for (const std::string& word : moved)
        add(word);
    add(words[0]);
    for (const std::string& word : rest)
        add(word);
    return UsageError(words[0] + ": opcje podaje się przed poleceniem: " + line);
}

}  // namespace varmo::cli
