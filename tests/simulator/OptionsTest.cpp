// The command line of varmo-sim and the printer it starts with.
#include <gtest/gtest.h>

#include "simulator/Options.h"

using namespace varmo;

namespace {

std::optional<SimOptions> parse(std::vector<std::string> args, std::string* error = nullptr)
{
    std::string reason;
    auto options = ParseOptions(args, reason);
    if (error)
        *error = reason;
    return options;
}

}  // namespace

TEST(Options, NewcomerStartsOnANonFiscalTestShop)
{
    const auto options = parse({});
    ASSERT_TRUE(options);
    const PrinterState state = StartState(*options, CivilDate{2024, 5, 7});
    EXPECT_FALSE(state.fiscal);
    EXPECT_EQ(state.codePage, PrinterCodePage::Mazovia);
    EXPECT_EQ(state.header, "SKLEP TESTOWY \"POD WAGA\"\rul. Testowa 7, 00-950 Przyk\xB3" "adowo\r");
    EXPECT_EQ(state.rates, (RateTable{23, 8, 5, 0, 100, 101, 101}));
    EXPECT_EQ(state.errorMode, 0);
    EXPECT_TRUE(state.online);
    EXPECT_FALSE(state.paperOut);
    EXPECT_TRUE(options->link.empty());
    EXPECT_TRUE(options->paper.empty());
}

TEST(Options, EveryOptionReachesStateOrLine)
{
    const auto options = parse({"--fiscal", "--header", "Żabka|ul. Długa 1", "--rates=22,7,3,0,zw,-,---",
                                "--codepage", "win", "--link", "/tmp/printer", "--paper=/tmp/roll.txt",
                                "--silent", "--delay", "15", "--chunk", "3", "--gap", "20", "--noise",
                                "--bad-checksum", "--baud", "9600", "--no-paper", "--offline",
                                "--mechanism-error", "-v"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->link, "/tmp/printer");
    EXPECT_EQ(options->paper, "/tmp/roll.txt");
    EXPECT_TRUE(options->verbose);
    const LineFaults& f = options->faults;
    EXPECT_TRUE(f.silent && f.noise && f.badChecksum);
    EXPECT_EQ(f.delayMs, 15);
    EXPECT_EQ(f.chunk, 3u);
    EXPECT_EQ(f.gapMs, 20);
    EXPECT_EQ(f.baud, 9600);

    const PrinterState state = StartState(*options, CivilDate{2024, 5, 7});
    EXPECT_TRUE(state.fiscal);
    EXPECT_EQ(state.nip, "111-222-33-32");
    EXPECT_EQ(state.fiscalisedOn, (CivilDate{2024, 5, 7}));
    EXPECT_EQ(state.header, "\xAF\x61\x62ka\rul. D\xB3uga 1\r");
    EXPECT_EQ(state.rates, (RateTable{22, 7, 3, 0, 100, 101, 101}));
    EXPECT_EQ(state.codePage, PrinterCodePage::Windows);
    EXPECT_TRUE(state.paperOut);
    EXPECT_FALSE(state.online);
    EXPECT_TRUE(state.mechanismError);

    const auto version = parse({"--version"});
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->version);
    EXPECT_FALSE(options->version);

    const auto empty = parse({"--header", ""});
    ASSERT_TRUE(empty);
    EXPECT_EQ(StartState(*empty, CivilDate{2024, 5, 7}).header, "");

    // A header no command could set: control bytes kept, Polish letters in
    // Windows-1250 as --header has them.
    const auto raw = parse({"--raw-header", "<ESC>[2J<ESC>]0;Łódź<$07>|<<tak>"});
    ASSERT_TRUE(raw);
    EXPECT_EQ(StartState(*raw, CivilDate{2024, 5, 7}).header,
              "\x1B[2J\x1B]0;\xA3\xF3" "d\x9F\x07\r<tak>\r");
}

TEST(Options, WrongOptionsAreExplained)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--frobnicate"}, "unknown option"},
        {{"--link"}, "needs a value"},
        {{"--rates", "23,8,5,0,ZW,-"}, "--rates"},
        {{"--rates", "23,8,5,0,ZW,-,102"}, "--rates"},
        {{"--rates", "23,8,5,0,ZW,-,-,-"}, "--rates"},
        {{"--codepage", "utf8"}, "--codepage"},
        {{"--header", std::string(49, 'x')}, "--header"},
        {{"--header", "Ελλάδα"}, "--header"},
        {{"--header", "\x1B[2J"}, "--header"},
        {{"--raw-header", "<CR>"}, "--raw-header"},
        {{"--raw-header", "<FF>"}, "--raw-header"},
        {{"--raw-header", "<ESC"}, "--raw-header"},
        {{"--raw-header", std::string(49, 'x')}, "--raw-header"},
        {{"--chunk", "0"}, "--chunk"},
        {{"--baud", "fast"}, "--baud"},
        {{"--delay", "-5"}, "--delay"},
        {{"--fiscal=yes"}, "takes no value"},
    };
    for (const auto& [args, expected] : cases) {
        std::string error;
        EXPECT_FALSE(parse(args, &error)) << args.front();
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
}

// A clock behind the host's is a negative offset, in either form of the
// option; a sign alone or twice is no number.
TEST(Options, ClockOffsetTakesEitherSign)
{
    const std::pair<std::vector<std::string>, std::optional<std::int64_t>> cases[] = {
        {{"--clock-offset", "-40"}, -40},
        {{"--clock-offset=-7200"}, -7200},
        {{"--clock-offset", "7200"}, 7200},
        {{"--clock-offset", "-100000000"}, -100'000'000},
        {{"--clock-offset", "-100000001"}, std::nullopt},
        {{"--clock-offset", "-"}, std::nullopt},
        {{"--clock-offset", "--5"}, std::nullopt},
        {{"--clock-offset", "+5"}, std::nullopt},
    };
    for (const auto& [args, expected] : cases) {
        std::string error;
        const auto options = parse(args, &error);
        ASSERT_EQ(options.has_value(), expected.has_value()) << args.back() << ": " << error;
        if (options)
            EXPECT_EQ(options->clockOffset, *expected) << args.back();
        else
            EXPECT_NE(error.find("--clock-offset"), std::string::npos) << error;
    }
}

TEST(Options, HelpNamesEveryOption)
{
    const std::string help = UsageText();
    for (const char* option : {"--link", "--paper", "--verbose", "--fiscal", "--non-fiscal", "--header",
                               "--rates", "--codepage", "--silent", "--delay", "--chunk", "--gap", "--noise",
                               "--twice", "--bad-checksum", "--baud", "--no-paper", "--raw-header", "--offline", "--mechanism-error",
                               "--version", "--help", "VARMO_COM1"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
        // Each documented option is one the parser takes.
        if (std::string(option).rfind("--", 0) == 0 && std::string(option) != "--help") {
            std::string error;
            parse({option, "1"}, &error);
            EXPECT_EQ(error.find("unknown option '" + std::string(option)), std::string::npos) << option;
        }
    }
}
