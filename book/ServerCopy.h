#pragma once
// The laptop's copy of what the server has: every printer and visit changed
// on the server since the last contact, colleagues' included, copied into
// the local book, so that a printer another technician serviced shows its
// history when the office is out of reach. What waits here to be sent is
// never written over by the server's older state of it.
#include <atomic>

namespace varmo::book {

class ServerBook;
class VisitBook;

struct CopyResult {
    int printers = 0;  // printers new or changed here
    int visits = 0;    // visits new or changed here
};

// ServerError for the server's trouble, BookError for the local book's.
// Written here in small transactions, so that the window's own writes to
// the book never wait long; stop (set from another thread) ends it between
// them, and the next copy starts where this one started.
CopyResult CopyFromServer(ServerBook& server, VisitBook& local,
                          const std::atomic<bool>* stop = nullptr);

}  // namespace varmo::book
