#pragma once
// varmo-cli book password: the technician's password to the shared book
// read without echo (or from standard input when it is no terminal) and
// kept where the console keeps it, so that no command line carries it.
#include <optional>
#include <ostream>

#include "book/Book.h"

namespace varmo::cli {

// Usage error without a server or with an empty password, CliFailure (1)
// when it cannot be kept.
int StoreBookPassword(const std::optional<book::ServerAddress>& server, bool json,
                      std::ostream& out);

}  // namespace varmo::cli
