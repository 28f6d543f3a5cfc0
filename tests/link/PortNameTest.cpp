// Whatever the operator typed names one of COM1 to COM16.
#include <gtest/gtest.h>

#include "link/PortName.h"

using namespace varmo;

TEST(PortName, TypedNamesBecomeOneOfTheSixteenPorts)
{
    const struct {
        const char* typed;
        const char* port;
    } cases[] = {
        {"COM1", "COM1"},   {"com3", "COM3"},   {"3", "COM3"},        {"cOm7", "COM7"},
        {"COM16", "COM16"}, {"16", "COM16"},    {"COM17", "COM1"},    {"COM0", "COM1"},
        {"LPT1", "COM1"},   {"", "COM1"},       {"COM", "COM1"},      {"COM-3", "COM1"},
        {"COM 5", "COM5"},  {"  12", "COM12"},  {"+4", "COM4"},       {"COM+4", "COM4"},
        {"COM05", "COM5"},  {"5 ", "COM1"},     {"COM5x", "COM1"},    {"COMCOM5", "COM1"},
        {"0x5", "COM1"},    {"COM99999999999", "COM1"}, {"-", "COM1"}, {"COM2.5", "COM1"},
        {"/dev/ttyUSB0", "COM1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NormalizePortName(c.typed), c.port) << "typed: '" << c.typed << "'";
}
