#pragma once
// One exchange with the printer as a report of it: what went out and what it
// is, what came back and what it means, and how long it took.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Types.h"

namespace varmo {

struct ExchangeRecord {
    std::string verb;            // the command word; "error" for a check of the error number
    int line = 0;                // the script line, 0 outside a script
    std::string sent;            // Windows-1250, as the console shows it (before Mazovia)
    std::string wire;            // the bytes as they went on the line
    Lines description;           // of the command
    std::vector<std::string> received;  // each answer frame, or the one status byte
    Lines answer;                // the answer's description, or the status flags in words
    std::optional<bool> accepted;       // for a command that takes an answer
    std::optional<unsigned char> status;  // ENQ and DLE
    bool fromEnq = false;
    bool answered = false;
    bool badCheck = false;  // the answer's check value was wrong
    std::int64_t ms = 0;  // from sending to the answer, or to the end of waiting
    // What was waiting on the line before the question went out, and was
    // dropped so that it could not pass for the answer.
    std::string dropped;
    // What came during the wait and answers an earlier question (by its
    // code), or, before a status byte, stray bytes.
    std::string late;
};

// How one command ended; the reason is empty on success.
struct Outcome {
    bool ok = true;
    std::string reason;
};

// How an ENQ, DLE or CAN is described, as the status panel names it.
const char* ControlDescription(char control);

}  // namespace varmo
