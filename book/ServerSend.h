#pragma once
// What waits in the laptop's book sent to the company's server. Printers go
// first, then the visits a batch at a time, each batch one transaction on
// the server and marked as taken here only after the server committed it:
// a send broken off anywhere resumes where it stopped, and a visit sent
// twice (resent, or from a book restored from a backup) is the same visit,
// named by its UUID, never a second one.
#include <atomic>
#include <optional>

#include "book/ServerTrouble.h"

namespace varmo::book {

class ServerBook;
class VisitBook;

struct SendResult {
    int printers = 0;  // printers the server took
    int visits = 0;    // visits the server took
    int waiting = 0;   // visits still waiting
    std::optional<ServerError> trouble;
};

// Stops at the first trouble, which it keeps; never throws a ServerError.
// A trouble of the laptop's own book is a BookError. stop, when set from
// another thread, ends the send after the batch under way.
SendResult SendWaiting(VisitBook& local, ServerBook& server, int batch = 250,
                       const std::atomic<bool>* stop = nullptr);

}  // namespace varmo::book
