// The version the build sets: on the command line before any window, and in
// the about box in its two-digit form.
#include <gtest/gtest.h>

#include <QLabel>
#include <sstream>

#include "console/app/CommandLine.h"
#include "console/base/ProgramVersion.h"
#include "console/dialogs/other/TFormAbout.h"

namespace varmo::test {
namespace {

TEST(ProgramVersion, AboutBoxShowsTheMinorNumberInTwoDigits)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.0", "wersja 1.00"},  {"1.5", "wersja 1.05"},   {"2.13", "wersja 2.13"},
        {"3", "wersja 3.00"},    {"1.0.7", "wersja 1.00"}, {"10.20.3", "wersja 10.20"},
        // Anything else is shown as it stands rather than bent into shape.
        {"1.123", "wersja 1.123"}, {"1.x", "wersja 1.x"}, {"", "wersja "},
    };
    for (const auto& [version, line] : cases)
        EXPECT_EQ(AboutVersionLine(version), QString::fromUtf8(line)) << version;

    TFormAbout about;
    EXPECT_EQ(about.Version->text(), AboutVersionLine(kProgramVersion));
}

TEST(CommandLine, VersionAndHelpAnswerWithoutAWindow)
{
    struct Case {
        std::vector<std::string> args;
        std::string firstLine;  // what the output starts with
    };
    const Case cases[] = {
        {{"--version"}, "varmo " + std::string(kProgramVersion) + "\n"},
        {{"-platform", "offscreen", "--version"}, "varmo " + std::string(kProgramVersion) + "\n"},
        {{"--help"}, "Usage: varmo [options]\n"},
        {{"-h"}, "Usage: varmo [options]\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream out;
        EXPECT_EQ(AnswerCommandLine(c.args, out), 0) << c.args.back();
        EXPECT_EQ(out.str().substr(0, c.firstLine.size()), c.firstLine) << c.args.back();
    }

    // Everything else belongs to the console and to Qt: nothing is written.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"-platform", "xcb"}, {"-style", "fusion"}, {"-version"}}) {
        std::ostringstream out;
        EXPECT_EQ(AnswerCommandLine(args, out), std::nullopt);
        EXPECT_EQ(out.str(), "");
    }
}

TEST(CommandLine, HelpNamesTheOptionsAndWhereSettingsLive)
{
    const std::string help = ConsoleUsageText();
    // Each system's own ports and places, and none of the other's.
    const struct {
        const char* piece;
        bool onWindows;
        bool onLinux;
    } pieces[] = {
        {"--version", true, true},
        {"--help", true, true},
        {"VARMO_COM1", false, true},
        {"/dev/ttyS<n-1>", false, true},
        {"Varmo.ini", false, true},
        {"COM1 to COM16 are Windows' own serial ports", true, false},
        {"HKEY_CURRENT_USER\\Software\\Ferwen s.c.\\Varmo", true, false},
        {"%LOCALAPPDATA%\\Varmo\\ksiega-wizyt.sqlite", true, false},
    };
#ifdef _WIN32
    constexpr bool windows = true;
#else
    constexpr bool windows = false;
#endif
    for (const auto& p : pieces)
        EXPECT_EQ(help.find(p.piece) != std::string::npos, windows ? p.onWindows : p.onLinux)
            << p.piece;
}

}  // namespace
}  // namespace varmo::test
