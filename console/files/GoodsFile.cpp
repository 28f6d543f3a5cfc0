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

void readLine(const std::string& line, std::vector<GoodsFileRow>& rows)
{
    // The ';' must have a character after it: a ';' that ends the line
    // does not count.
    if (line.size() < 2)
        return;
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string::npos || semicolon >= line.size() - 1)
        return;
    const char rate = line[semicolon + 1];
    if (rate < 'A' || rate > 'G')
        return;
    rows.push_back({trimmed(line.substr(0, semicolon)), rate});
}

}  // namespace

std::vector<GoodsFileRow> ReadGoodsFile(const std::string& bytes)
{
    std::vector<GoodsFileRow> rows;
    std::size_t from = 0;
    while (from < bytes.size()) {
        std::size_t end = bytes.find('\n', from);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        if (end > from && bytes[end - 1] == '\r')
            --end;
        readLine(bytes.substr(from, end - from), rows);
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
