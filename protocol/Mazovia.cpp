#include "protocol/Mazovia.h"

#include <utility>

namespace varmo {

namespace {

// Windows-1250 byte, Mazovia byte.
constexpr std::pair<unsigned char, unsigned char> kPolishLetters[] = {
    {0xA5, 0x8F}, {0xB9, 0x86}, {0xC6, 0x95}, {0xE6, 0x8D}, {0xCA, 0x90}, {0xEA, 0x91},
    {0xA3, 0x9C}, {0xB3, 0x92}, {0xD1, 0xA5}, {0xF1, 0xA4}, {0xD3, 0xA3}, {0xF3, 0xA2},
    {0x8C, 0x98}, {0x9C, 0x9E}, {0x8F, 0xA0}, {0x9F, 0xA6}, {0xAF, 0xA1}, {0xBF, 0xA7},
};

using Table = std::array<unsigned char, 256>;

Table identity()
{
    Table t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    return t;
}

void convert(std::string& text, const Table& table)
{
    for (char& c : text)
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
}

}  // namespace

const Table& WindowsToMazoviaTable()
{
    static const Table table = [] {
        Table t = identity();
        for (auto [win, maz] : kPolishLetters)
            t[win] = maz;
        return t;
    }();
    return table;
}

const Table& MazoviaToWindowsTable()
{
    static const Table table = [] {
        Table t = identity();
        for (auto [win, maz] : kPolishLetters)
            t[maz] = win;
        return t;
    }();
    return table;
}

void WindowsToMazovia(std::string& text) { convert(text, WindowsToMazoviaTable()); }
void MazoviaToWindows(std::string& text) { convert(text, MazoviaToWindowsTable()); }

}  // namespace varmo
