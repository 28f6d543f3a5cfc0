#pragma once
// Where a list of the visit book comes from, said under it: the server's
// copy ("serwer: dane z serwera, stan z …") or this computer's when the
// server is out of reach ("serwer: niedostępny, dane z tego komputera, stan
// z …"). The list is read from the local book, which holds the copy of the
// server; showing it asks the sync for an attempt, and a copy that brings
// news refreshes the list. The window never waits for the server.
#include <functional>

class QLabel;
class QObject;

namespace varmo {

class ConsoleBook;

namespace book {
class BackgroundSync;
}

class BookSource {
public:
    BookSource(ConsoleBook& book, QLabel* label, QObject* context, std::function<void()> refresh);

    // The list is shown: an attempt asked for, the label said.
    void Shown();

private:
    void said();

    ConsoleBook& book_;
    QLabel* label_;
    QObject* context_;
    std::function<void()> refresh_;
    book::BackgroundSync* connected_ = nullptr;
};

}  // namespace varmo
