#include "console/files/GoodsFile.h"

namespace varmo {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string trimmed(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

void note(GoodsFileNotes* notes, std::size_t line, GoodsLineFault fault)
{
    if (notes == nullptr)
        return;
    if (fault == GoodsLineFault::NameCut)
        ++notes->cut;
    else
        ++notes->skipped;
    if (notes->first.size() < GoodsFileNotes::kKeptNotes)
        notes->first.push_back({line, fault});
}

void readLine(const std::string& line, std::size_t number, std::vector<GoodsFileRow>& rows,
              GoodsFileNotes* notes)
{
    // A line of blanks alone is no goods gone missing: no note.
    if (trimmed(line).empty())
        return;
    // The ';' must have a character after it: a ';' that ends the line
    // does not count.
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos || semicolon + 1 >= line.size()) {
        note(notes, number,
             semicolon == std::string::npos ? GoodsLineFault::NoSemicolon : GoodsLineFault::BadRate);
        return;
    }
    const char rate = line[semicolon + 1];
    if (rate < 'A' || rate > 'G') {
        note(notes, number, GoodsLineFault::BadRate);
        return;
    }
    std::string name = trimmed(line.substr(0, semicolon));
    if (name.empty()) {
        note(notes, number, GoodsLineFault::NoName);
        return;
    }
    rows.push_back({std::move(name), rate});
    if (rows.back().name.size() > kGoodsNameWidth)
        note(notes, number, GoodsLineFault::NameCut);
}

}  // namespace

std::vector<GoodsFileRow> ReadGoodsFile(const std::string& bytes, GoodsFileNotes* notes)
{
    std::vector<GoodsFileRow> rows;
    std::size_t from = 0;
    std::size_t number = 0;
    while (from < bytes.size()) {
        std::size_t end = bytes.find('\n', from);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        if (end > from && bytes[end - 1] == '\r')
            --end;
        readLine(bytes.substr(from, end - from), ++number, rows, notes);
        from = next;
    }
    return rows;
}

std::string GoodsFileBytes(const std::vector<GoodsFileRow>& rows)
{
    std::string bytes;
    for (const GoodsFileRow& row : rows) {
        bytes += row.name;
        bytes += ';';
        bytes += row.rate;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace varmo
