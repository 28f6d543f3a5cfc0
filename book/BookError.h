#pragma once
// The book's troubles, told in Polish: a file that is no database, one made
// by a newer program or by another program, read-only, locked by another
// program, a full disk. The programs tell the message and go on without the
// book.
#include <string>

#include "protocol/Exception.h"

namespace varmo::book {

// Foreign: a database of another program, refused and left as it was.
enum class Trouble { ReadOnly, Locked, Full, Corrupt, Newer, Foreign, CannotOpen, Other };

class BookError : public Exception {
public:
    BookError(Trouble trouble, const std::string& message)
        : Exception(message), trouble_(trouble) {}
    Trouble Kind() const { return trouble_; }

private:
    Trouble trouble_;
};

}  // namespace varmo::book
