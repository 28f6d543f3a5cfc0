#pragma once
// Looks for one printed row: a left text and a right text set apart by blanks
// across the full width of the paper.
#include <sstream>
#include <string>

#include "simulator/Paper.h"

namespace varmo::test {

inline bool HasRow(const std::string& paper, const std::string& left, const std::string& right)
{
    std::istringstream lines(paper);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(left, 0) != 0 || line.size() < left.size() + right.size()
            || line.compare(line.size() - right.size(), right.size(), right) != 0)
            continue;
        const std::string between = line.substr(left.size(), line.size() - left.size() - right.size());
        if (!between.empty() && between.find_first_not_of(' ') == std::string::npos
            && Utf8Length(line) == kPaperWidth)
            return true;
    }
    return false;
}

}  // namespace varmo::test
