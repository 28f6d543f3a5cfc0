#pragma once
// The shared book's tables on the server: the laptop's tables, named a
// record by its UUID, and a mark of the transaction that last changed each
// printer and visit (changed_by), so that a laptop copies down only what
// changed since its last contact; the server's own time of the last contact
// (last_seen_at, last_contact_at), by which "newer" is decided. A new
// version is a new entry at the end.
#include <vector>

namespace varmo::book {

const std::vector<std::vector<const char*>>& ServerMigrations();

}  // namespace varmo::book
