#pragma once
// The company's shared book as varmo-cli finds it: --book-server URI, else
// the server set in the console's "Ustawienia"; and one contact with it told
// on standard error in the technician's words, never with the password.
#include <optional>
#include <ostream>
#include <string>

#include <QJsonObject>

#include "book/Book.h"

namespace varmo::cli {

// A --book-server that is no such URI is a usage error; a stored one in
// trouble is told on err, and the book stays on this computer.
std::optional<book::ServerAddress> ChosenServer(const std::optional<std::string>& uri,
                                                std::ostream& err);

// "Księga na serwerze (postgresql://…): wysłano wizyt 3, do wysłania 0" or
// "… nie wysłano: błędne hasło lub użytkownik; wizyty zostają na tym
// komputerze, do wysłania 3".
std::string SyncLine(const book::ServerAddress& server, const book::SyncState& state);

// "varmo-cli: zegar komputera spieszy się o 1 dzień względem serwera" on err
// when this computer's clock is off the server's; nothing otherwise.
void TellClock(const book::SyncState& state, std::ostream& err);

QJsonObject SyncJson(const book::ServerAddress& server, const book::SyncState& state);

}  // namespace varmo::cli
