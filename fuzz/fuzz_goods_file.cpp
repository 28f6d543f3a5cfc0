// Whatever file the operator opens as a goods list must read without a crash,
// give only rows the list can hold, and come back the same from its own save;
// what the reading tells of its skips and cuts must add up.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "console/files/GoodsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<varmo::GoodsFileRow> rows = varmo::ReadGoodsFile(bytes);
    for (const varmo::GoodsFileRow& row : rows) {
        if (row.rate < 'A' || row.rate > 'G' || row.name.find(';') != std::string::npos ||
            row.name.find('\n') != std::string::npos)
            std::abort();
        if (!row.name.empty() && (static_cast<unsigned char>(row.name.front()) <= 0x20 ||
                                  static_cast<unsigned char>(row.name.back()) <= 0x20))
            std::abort();
    }
    if (varmo::ReadGoodsFile(varmo::GoodsFileBytes(rows)).size() != rows.size())
        std::abort();

    // Noting changes nothing read; every note is a line of the file, in order,
    // and the cut names are names of rows longer than the list keeps.
    varmo::GoodsFileNotes notes;
    const std::vector<varmo::GoodsFileRow> noted = varmo::ReadGoodsFile(bytes, &notes);
    if (noted.size() != rows.size() || notes.first.size() > varmo::GoodsFileNotes::kKeptNotes ||
        notes.first.size() != std::min(notes.skipped + notes.cut, varmo::GoodsFileNotes::kKeptNotes))
        std::abort();
    std::size_t longNames = 0;
    for (const varmo::GoodsFileRow& row : rows)
        longNames += row.name.size() > varmo::kGoodsNameWidth ? 1 : 0;
    const std::size_t lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    if (notes.cut != longNames || notes.skipped + rows.size() > lines)
        std::abort();
    for (std::size_t i = 0; i < notes.first.size(); ++i)
        if (notes.first[i].line == 0 || notes.first[i].line > lines ||
            (i > 0 && notes.first[i].line <= notes.first[i - 1].line))
            std::abort();
    return 0;
}
