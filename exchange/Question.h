#pragma once
// One question to the printer and what came back for it: the one shape in
// which "Wykonaj", the status queries, the dialogs' reads, the frames of a
// series, the service check, the search and every varmo-cli verb go out.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Exception.h"

namespace varmo {

class TCommand;

enum class Expect {
    Nothing,     // the bytes go out; the line is listened to for waitMs
    StatusByte,  // ENQ and DLE: one byte
    Frame,       // a whole answer frame
};

struct Question {
    std::string wire;  // the bytes as they go on the line
    Expect expect = Expect::Frame;
    int waitMs = 0;
    // Who asks, for whoever watches the line; may be nullptr.
    const TCommand* command = nullptr;
    // For Expect::Frame: which frames answer it; the wait goes on past any
    // other frame until its time is up. Unset: the first whole frame does.
    std::function<bool(const std::string& frame)> takes;
    // For Expect::Frame: its answer carries a check value, which must be right.
    bool checked = true;
    // For Expect::Frame: after an answer this says holds, the line is heard
    // lingerMs longer for one more frame (a number the printer sends twice).
    std::function<bool(const std::string& answer)> lingerAfter;
    int lingerMs = 0;
    // For Expect::Frame: an answer after the wait is still this command's,
    // and handed on as its late answer (packetArrived). Only for a command
    // its asker keeps for good (the console's history).
    bool awaitsLate = false;
};

// A frame the assembler cut outside a question: its text between ESC P and
// ESC \, and the command it answers when it is a late answer to a question
// that awaits it; nullptr: a frame nobody asked for now, which the console
// gives to its current command.
struct FrameCut {
    std::string text;
    const TCommand* lateFor = nullptr;
};

enum class ReplyKind {
    Answered,   // the status byte, or a frame that answers
    NoAnswer,   // nothing within the wait
    BadCheck,   // a frame came, but its check value is wrong
    NotUnderstood,  // a frame came that the command does not take
};

struct Reply {
    ReplyKind kind = ReplyKind::NoAnswer;
    std::optional<unsigned char> status;
    std::string frame;                // the answer, start and stop included
    std::vector<std::string> frames;  // every whole frame that came during the wait
    std::string readOff;              // what waited on the line before the question
    // What came during the wait and answers an earlier question: before a
    // status byte, any frame or stray bytes; among frames, those whose code
    // says they answer another question.
    std::string late;
    std::int32_t written = 0;         // of the question's bytes
    std::int64_t ms = 0;              // from sending to the answer, or to the end of the wait

    bool Answered() const { return kind == ReplyKind::Answered; }
};

// A frame longer than the printer takes: refused before anything is sent.
class FrameTooLong : public Exception {
public:
    explicit FrameTooLong(std::size_t content);
};

// FrameTooLong when the bytes are a frame longer than the printer takes.
void RefuseTooLong(const std::string& wire);

// What a frame whose check value is wrong is called, on screen and on
// varmo-cli's output alike.
inline constexpr const char* kBadCheckText = "Błędna suma kontrolna odpowiedzi";

}  // namespace varmo
