// Whatever the operator types must decode without a crash, and every byte
// string must come back unchanged from its escaped form.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/Escaped.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    varmo::Lines typed;
    std::size_t from = 0;
    for (std::size_t nl; (nl = bytes.find('\n', from)) != std::string::npos; from = nl + 1)
        typed.push_back(bytes.substr(from, nl - from));
    typed.push_back(bytes.substr(from));
    (void)varmo::DecodeEscaped(typed);

    varmo::Lines shown;
    varmo::EncodeEscaped(shown, bytes);
    if (varmo::TryDecodeEscaped(shown) != bytes)
        std::abort();
    return 0;
}
