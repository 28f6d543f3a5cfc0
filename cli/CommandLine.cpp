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
        throw UsageError(name + " needs a value");
    return args[++i];
}

bool isOption(const std::string& arg, const std::string& name)
{
    return arg == name || arg.rfind(name + "=", 0) == 0;
}

std::int32_t positive(const std::string& text, const char* what)
{
    const std::int32_t value = IntegerParam(text, what);
    if (value <= 0)
        throw UsageError(std::string(what) + ": must be above 0");
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
        else if (isOption(arg, "--port"))
            invocation.port = optionValue(args, i, "--port");
        else if (isOption(arg, "--speed"))
            invocation.speed = positive(optionValue(args, i, "--speed"), "--speed");
        else if (isOption(arg, "--codepage")) {
            const std::string value = optionValue(args, i, "--codepage");
            if (value != "maz" && value != "win")
                throw UsageError("--codepage: maz or win, not \"" + value + "\"");
            invocation.codePage = value;
        } else if (isOption(arg, "--timeout"))
            invocation.times.answerMs = invocation.times.statusMs =
                positive(optionValue(args, i, "--timeout"), "--timeout");
        else if (isOption(arg, "--listen"))
            invocation.listenMs = IntegerParam(optionValue(args, i, "--listen"), "--listen");
        else
            throw UsageError("unknown option " + arg + " (varmo-cli --help lists them)");
    }
    if (invocation.listenMs && *invocation.listenMs < 0)
        throw UsageError("--listen: must not be below 0");
    // The check's own exchange shows what the printer says after a command;
    // without it, the line is watched a while instead.
    invocation.times.listenMs = invocation.listenMs.value_or(invocation.check ? 0 : 300);
    invocation.times.sequenceListenMs = invocation.listenMs.value_or(300);
    invocation.words.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return invocation;
}

}  // namespace varmo::cli
