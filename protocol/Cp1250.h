#pragma once
// The one meeting point of bytes and text in the core: Windows-1250 bytes to
// UTF-8 text and back. All 256 byte values map; the five that Windows-1250
// leaves undefined map to the control characters of the same number, so any
// byte string survives a trip through text.
#include <optional>
#include <string>

namespace varmo {

std::string Cp1250ToUtf8(const std::string& bytes);

// Nothing when the text is not valid UTF-8 or holds a character that
// Windows-1250 cannot carry.
std::optional<std::string> TryUtf8ToCp1250(const std::string& text);

// As above, with '?' in place of every character that cannot be carried.
std::string Utf8ToCp1250(const std::string& text);

}  // namespace varmo
