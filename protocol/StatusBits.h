#pragma once
// What the printer's status bytes mean: the ENQ byte carries FSK, CMD, PAR
// and TRF, the DLE byte ONL, PE and ERR; each flag reads as one Polish phrase
// for a set and one for a clear bit. Bits not listed are ignored.
#include <array>
#include <string>

#include "protocol/Types.h"

namespace varmo {

struct StatusBit {
    const char* name;    // "FSK", "CMD", "PAR", "TRF", "ONL", "PE", "ERR"
    unsigned char mask;  // in the status byte that carries it
    bool fromEnq;        // ENQ (logical) or DLE (mechanical)
    const char* setText;    // UTF-8
    const char* clearText;  // UTF-8
};

// The four ENQ flags, then the three DLE flags, each group from the highest bit.
const std::array<StatusBit, 7>& StatusBits();

// The flags of one status byte in words, one line per flag in the order above.
Lines StatusWords(unsigned char status, bool fromEnq);

}  // namespace varmo
