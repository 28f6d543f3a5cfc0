#pragma once
// A script line cut into words the way a shell would for these commands:
// blanks separate, "double" or 'single' quotes keep blanks inside a word.
#include <string>
#include <vector>

namespace varmo::cli {

// Usage error for a quote that is not closed.
std::vector<std::string> SplitWords(const std::string& line);

}  // namespace varmo::cli
