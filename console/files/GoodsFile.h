#pragma once
// The goods list file: one goods per line, the name, ';', the rate letter,
// CR LF; Windows-1250 bytes, no quoting. Plain standard C++, so the reader
// can be fuzzed on its own.
#include <string>
#include <vector>

namespace varmo {

struct GoodsFileRow {
    std::string name;  // trimmed of blanks and control bytes, not cut
    char rate = 'A';   // 'A' to 'G'
};

// Every line the list takes, in the file's order: a line needs a ';' before
// its last character, followed by an upper-case letter A to G (anything after
// the letter is ignored); other lines are skipped. A line ends at LF, with a
// CR before it dropped. A row whose name is empty after trimming is returned
// as it is: the list decides what that means.
std::vector<GoodsFileRow> ReadGoodsFile(const std::string& bytes);

// The file for the rows, in their order.
std::string GoodsFileBytes(const std::vector<GoodsFileRow>& rows);

}  // namespace varmo
