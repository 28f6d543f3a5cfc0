#pragma once
// A shop's goods list as "Otwórz" reads it: one "name;letter" line per goods,
// CR LF, the rates A to G in turn.
#include <string>

namespace varmo::bench {

inline std::string GoodsListFile(int goods)
{
    std::string bytes;
    const char rates[] = "ABCDEFG";
    for (int i = 0; i < goods; ++i)
        bytes += "Towar nr " + std::to_string(i + 1) + ';' + rates[i % 7] + "\r\n";
    return bytes;
}

}  // namespace varmo::bench
