#pragma once
// The laptop's copy of what the server has: every printer and visit changed
// on the server since the last contact, colleagues' included, copied into
// the local book, so that a printer another technician serviced shows its
// history when the office is out of reach. What waits here to be sent is
// never written over by the server's older state of it.
namespace varmo::book {

class ServerBook;
class VisitBook;

struct CopyResult {
    int printers = 0;  // printers new or changed here
    int visits = 0;    // visits new or changed here
};

// ServerError for the server's trouble, BookError for the local book's.
CopyResult CopyFromServer(ServerBook& server, VisitBook& local);

}  // namespace varmo::book
