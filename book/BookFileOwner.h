#pragma once
// The visit book's files are their owner's alone (link/OwnerOnly): the book,
// its -wal, -shm and -journal (SQLite gives them the book's own mode) and
// the damaged copies set aside beside it; its folder too when it is the
// programs' own data folder (a book named elsewhere leaves its folder be).
#include <QString>

namespace varmo::book {

// Before the book is opened: its folder made, the book made empty for its
// owner when missing, and every file of it mended.
void BookFilesForOwner(const QString& path);

}  // namespace varmo::book
