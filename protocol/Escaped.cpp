#include "protocol/Escaped.h"

#include "protocol/Cp1250.h"

namespace varmo {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

// Decodes one line of Windows-1250 escaped text onto out; false when malformed.
bool decodeLine(const std::string& line, std::string& out)
{
    const std::size_t n = line.size();
    std::size_t p = 0;
    while (p < n) {
        const char c = line[p];
        if (c != '<') {
            out += c;
            ++p;
            continue;
        }
        if (p + 1 >= n)
            return false;  // a lone '<' at the end of the line
        const char next = line[p + 1];
        if (next == '<') {
            out += '<';
            p += 2;
        } else if (next == '$') {
            if (p + 2 >= n)
                return false;  // "<$" ends the line
            const char high = line[p + 2];
            const char low = p + 3 < n ? line[p + 3] : '\0';
            out += static_cast<char>(HexPairToByte(high, low));
            p += 5;  // the closing '>' is skipped unchecked
        } else {
            const std::size_t close = line.find('>', p + 1);
            if (close == std::string::npos)
                return false;
            const std::string name = line.substr(p + 1, close - p - 1);
            if (name == "ESC")
                out += '\x1B';
            else if (name == "CR")
                out += '\x0D';
            else if (name == "FF")
                out += '\xFF';
            else
                return false;
            p = close + 1;
        }
    }
    return true;
}

}  // namespace

std::string EscapedText(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string raw;
    raw.reserve(bytes.size() + 16);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0x0D)
            raw += "<CR>";
        else if (b == 0x1B)
            raw += "<ESC>";
        else if (b == 0x3C)
            raw += "<<";
        else if (b == 0xFF)
            raw += "<FF>";
        else if (b >= 0x20)
            raw += c;
        else {
            raw += "<$";
            raw += digits[b >> 4];
            raw += digits[b & 0x0F];
            raw += '>';
        }
    }
    return Cp1250ToUtf8(raw);
}

void EncodeEscaped(Lines& lines, const std::string& bytes)
{
    std::string line = EscapedText(bytes);
    lines.clear();
    lines.push_back(std::move(line));
}

std::optional<std::string> TryDecodeEscaped(const Lines& lines)
{
    std::string out;
    for (const std::string& text : lines) {
        const auto line = TryUtf8ToCp1250(text);
        if (!line || !decodeLine(*line, out))
            return std::nullopt;
    }
    return out;
}

std::string DecodeEscaped(const Lines& lines)
{
    auto bytes = TryDecodeEscaped(lines);
    return bytes ? std::move(*bytes) : kMalformedSequence;
}

unsigned char HexPairToByte(char high, char low)
{
    return static_cast<unsigned char>(hexValue(high) * 16 + hexValue(low));
}

std::string ControlsEscaped(const std::string& text, bool keepNewlines)
{
    const auto escapedByte = [](std::string& shown, unsigned char byte) {
        const char* const digits = "0123456789ABCDEF";
        shown += "<$";
        shown += digits[byte >> 4];
        shown += digits[byte & 0x0F];
        shown += '>';
    };
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == '\n' && keepNewlines) {
            shown += '\n';
        } else if (c < 0x20) {
            shown += EscapedText(std::string(1, static_cast<char>(c)));
        } else if (c == 0x7F) {
            escapedByte(shown, c);
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080 to U+009F, the C1 controls: CSI and OSC among them to
            // some terminals.
            escapedByte(shown, next);
            ++i;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

}  // namespace varmo
