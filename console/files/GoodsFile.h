#pragma once
// The goods list file: one goods per line, the name, ';', the rate letter,
// CR LF; Windows-1250 bytes, no quoting. Plain standard C++, so the reader
// can be fuzzed on its own.
#include <cstddef>
#include <string>
#include <vector>

namespace varmo {

// The longest name the list keeps; a longer one is cut to it.
constexpr std::size_t kGoodsNameWidth = 20;

struct GoodsFileRow {
    std::string name;  // trimmed of blanks and control bytes, not cut
    char rate = 'A';   // 'A' to 'G'
};

// Why a line of the file did not come into the list as it stood.
enum class GoodsLineFault {
    NoSemicolon,  // no ';' before the line's last character: skipped
    BadRate,      // after the ';' no upper-case letter A to G: skipped
    NoName,       // nothing but blanks before the ';': skipped
    NameCut,      // the name is longer than kGoodsNameWidth: kept, cut
};

struct GoodsLineNote {
    std::size_t line = 0;  // from 1
    GoodsLineFault fault = GoodsLineFault::NoSemicolon;
};

// What a reading passed over: the counts, and the first few lines it
// happened on (a file of binary data has a great many).
struct GoodsFileNotes {
    static constexpr std::size_t kKeptNotes = 5;

    std::size_t skipped = 0;
    std::size_t cut = 0;
    std::vector<GoodsLineNote> first;  // at most kKeptNotes, in the file's order

    bool Empty() const { return skipped == 0 && cut == 0; }
};

// Every line the list takes, in the file's order: a line needs a ';' before
// its last character, followed by an upper-case letter A to G (anything after
// the letter is ignored); other lines are skipped. A line ends at LF, with a
// CR before it dropped. A row whose name is empty after trimming is returned
// as it is: the list decides what that means. With notes, the lines skipped
// and the names that the list will cut are told there; a blank line holds
// nothing and is passed over without a note.
std::vector<GoodsFileRow> ReadGoodsFile(const std::string& bytes, GoodsFileNotes* notes = nullptr);

// The file for the rows, in their order.
std::string GoodsFileBytes(const std::vector<GoodsFileRow>& rows);

}  // namespace varmo
