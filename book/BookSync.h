#pragma once
// One contact with the company's server: what waits here sent, then what
// the server has copied down, and the book's state in the technician's words
// for the status line and for the lists ("serwer: niedostępny, dane z tego
// komputera, stan z 2026-12-07 14:12"). The local book is written first,
// always; the server gets it when it can.
#include <QDateTime>
#include <QString>
#include <atomic>
#include <optional>

#include "book/ServerAddress.h"
#include "book/ServerTrouble.h"

namespace varmo::book {

class ServerCut;
class VisitBook;

// This computer's clock is told to be wrong when it is further than this
// from the server's.
constexpr qint64 kClockToleranceS = 120;

struct SyncState {
    bool serverSet = false;
    bool reached = false;     // the last attempt reached the server
    bool readOnly = false;    // its book is a newer program's
    int sent = 0;             // visits sent by the last attempt
    int copied = 0;           // visits copied down by it
    int waiting = 0;          // visits still waiting here
    std::optional<ServerTrouble> trouble;
    QString reason;           // in Polish, never with the password
    QDateTime lastContact;    // the copy of the server is from then
    // How far this computer's clock is ahead of the server's (behind when
    // negative), when further than kClockToleranceS.
    std::optional<qint64> clockAheadS;
};

struct SyncOptions {
    // Copy the server's news down too (varmo-cli's check only sends: its
    // visit is what matters, not the company's book).
    bool copy = true;
    // Set from another thread: stop between batches (the window is closing).
    const std::atomic<bool>* stop = nullptr;
    // Cut from another thread: the call under way fails at once.
    ServerCut* cut = nullptr;
};

// Sends and copies; never throws for the server's trouble, which it keeps.
// A trouble of the local book is a BookError.
SyncState SyncWithServer(VisitBook& local, const ServerAddress& address,
                         const SyncOptions& options = {});

// The state without contacting the server: what waits, the last contact.
SyncState LocalState(VisitBook& local, bool serverSet);

// "Księga: wysłano na serwer", "Księga: do wysłania 3",
// "Księga: serwer niedostępny (błędne hasło lub użytkownik), do wysłania 3",
// and a clock that differs from the server's after it:
// "Księga: wysłano na serwer; zegar spieszy się o 1 dzień".
// brief: the reason without its explanation in brackets, for the status
// line (the whole of it goes into the label's tip).
QString BookStateText(const SyncState& state, bool brief = false);

// "zegar komputera spieszy się o 1 dzień względem serwera"; brief: "zegar
// spieszy się o 1 dzień". Days, hours, minutes or seconds, whichever is
// the largest whole one.
QString ClockText(qint64 aheadS, bool brief = false);

// Where the lists come from: "serwer: dane z serwera, stan z …" or
// "serwer: niedostępny, dane z tego komputera, stan z 2026-12-07 14:12".
QString SourceText(const SyncState& state);

}  // namespace varmo::book
