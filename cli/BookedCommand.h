#pragma once
// varmo-cli with --book and a command: the printer is identified first (its
// cash information read, which changes nothing in it), and a setting or a
// report that the printer took is kept in a visit of its own. Without --book
// the exchange stays exactly the command's, for scripts that count on it.
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "book/Book.h"

namespace varmo::cli {

class Session;

class BookedCommand {
public:
    // Opens the book at once, before the port: its trouble is told first.
    BookedCommand(const std::optional<std::string>& bookFile, std::ostream& err);
    ~BookedCommand();

    // Before the command. A silent or foreign device leaves the printer
    // unknown, and says so; nothing else goes to it.
    void Identify(Session& session);
    // After the printer took the command given by words.
    void Took(const std::vector<std::string>& words, const std::string& port);

private:
    std::optional<std::string> bookFile_;
    std::ostream& err_;
    std::optional<book::PrinterSeen> printer_;
    std::unique_ptr<book::Book> book_;
};

}  // namespace varmo::cli
