#include "protocol/CsvCell.h"

namespace varmo {

namespace {

bool opensFormula(const std::string& text)
{
    static const std::string kFormulaStarts = "=+-@\t\r";
    return !text.empty() && kFormulaStarts.find(text.front()) != std::string::npos;
}

}  // namespace

std::string CsvCell(const std::string& text, char separator)
{
    const bool formula = opensFormula(text);
    if (!formula && text.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos)
        return text;
    std::string quoted = formula ? "\"'" : "\"";
    quoted.reserve(text.size() + 4);
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

}  // namespace varmo
