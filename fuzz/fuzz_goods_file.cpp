// Whatever file the operator opens as a goods list must read without a crash,
// give only rows the list can hold, and come back the same from its own save.
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
    return 0;
}
