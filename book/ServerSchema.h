#pragma once
// The shared book's tables on the server: the laptop's tables, named a
// record by its UUID, and a mark of the transaction that last changed each
// printer and visit (changed_by), so that a laptop copies down only what
// changed since its last contact; the server's own time of the last contact
// (last_seen_at, last_contact_at), by which "newer" is decided. The columns
// come from the records' description (RecordTables); each version adds its
// indexes here. A new version is a new entry at the end.
#include <QString>
#include <vector>

namespace varmo::book {

// Each version's statements, in order: its columns, then its own.
const std::vector<std::vector<QString>>& ServerMigrations();

}  // namespace varmo::book
