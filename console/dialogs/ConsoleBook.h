#pragma once
// The console's visit book: the visit recorded as the book tells it
// (book::VisitRecorder), and what the book says told to the operator: each
// trouble once in a box of its own, the server's settings that do not work
// once each, the rest on the status line.
#include <QString>

#include "book/VisitRecorder.h"

namespace varmo {

class ConsoleBook : public book::VisitRecorder {
public:
    // The file; empty: the user's own (the data folder of Varmo).
    explicit ConsoleBook(QString path = {});

    // The server read from the settings (again, after "Ustawienia" →
    // "Serwer księgi wizyt…"), the background sync started or stopped.
    void ServerChanged();
    // The status line's listener: told each time the sync's attempt ends or
    // what waits here changes.
    void OnSyncChange(std::function<void(const book::SyncState&)> listener);

private:
    std::function<void(const book::SyncState&)> listener_;
    QString serverTold_;
};

}  // namespace varmo
