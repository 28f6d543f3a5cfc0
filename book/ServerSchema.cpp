#include "book/ServerSchema.h"

namespace varmo::book {

const std::vector<std::vector<const char*>>& ServerMigrations()
{
    static const std::vector<std::vector<const char*>> steps = {
        {
            "CREATE TABLE printers ("
            " id BIGSERIAL PRIMARY KEY,"
            " uuid TEXT NOT NULL,"
            " unique_number TEXT NOT NULL UNIQUE,"
            " nip TEXT,"
            " fiscal INTEGER NOT NULL DEFAULT 0,"
            " header TEXT,"
            " header_first TEXT,"
            " header_loose TEXT,"
            " rates TEXT,"
            " first_seen TEXT NOT NULL,"
            " last_seen TEXT NOT NULL,"
            " next_inspection TEXT,"
            " inspection_message TEXT,"
            " changed_by xid8 NOT NULL DEFAULT pg_current_xact_id())",
            "CREATE INDEX printers_next_inspection ON printers(next_inspection)",
            "CREATE INDEX printers_changed ON printers(changed_by)",
            "CREATE TABLE visits ("
            " id BIGSERIAL PRIMARY KEY,"
            " uuid TEXT NOT NULL UNIQUE,"
            " printer_id BIGINT NOT NULL REFERENCES printers(id),"
            " started TEXT NOT NULL,"
            " last_contact TEXT NOT NULL,"
            " ended TEXT,"
            " technician TEXT NOT NULL DEFAULT '',"
            " port TEXT NOT NULL DEFAULT '',"
            " program TEXT NOT NULL DEFAULT '',"
            " notes TEXT NOT NULL DEFAULT '',"
            " changed_by xid8 NOT NULL DEFAULT pg_current_xact_id())",
            "CREATE INDEX visits_of_printer ON visits(printer_id, started)",
            "CREATE INDEX visits_changed ON visits(changed_by)",
            "CREATE TABLE checks ("
            " id BIGSERIAL PRIMARY KEY,"
            " visit_id BIGINT NOT NULL REFERENCES visits(id) ON DELETE CASCADE,"
            " made TEXT NOT NULL,"
            " clock_offset BIGINT,"
            " error_number INTEGER,"
            " zeroings INTEGER,"
            " last_receipt INTEGER,"
            " totals TEXT,"
            " header TEXT,"
            " rates TEXT,"
            " fiscal INTEGER,"
            " attention TEXT NOT NULL DEFAULT '',"
            " steps TEXT NOT NULL DEFAULT '[]')",
            "CREATE INDEX checks_of_visit ON checks(visit_id)",
            "CREATE TABLE settings_taken ("
            " id BIGSERIAL PRIMARY KEY,"
            " visit_id BIGINT NOT NULL REFERENCES visits(id) ON DELETE CASCADE,"
            " made TEXT NOT NULL,"
            " what TEXT NOT NULL,"
            " detail TEXT NOT NULL DEFAULT '',"
            " offset_before BIGINT,"
            " offset_after BIGINT)",
            "CREATE INDEX settings_of_visit ON settings_taken(visit_id)",
            "CREATE TABLE files ("
            " id BIGSERIAL PRIMARY KEY,"
            " visit_id BIGINT NOT NULL REFERENCES visits(id) ON DELETE CASCADE,"
            " made TEXT NOT NULL,"
            " path TEXT NOT NULL)",
            "CREATE INDEX files_of_visit ON files(visit_id)",
        },
        // The server's own time of a printer's last contact and of a visit's,
        // stamped as the row arrives: the laptop's clock measures how long
        // ago it was, the server's clock says when that is. "Newer" is
        // decided by these, so a laptop whose clock is a day ahead never
        // wins over a later visit. Rows from before have none (NULL) and are
        // compared by the laptops' text as they always were.
        {
            "ALTER TABLE printers ADD COLUMN last_seen_at TIMESTAMPTZ",
            "ALTER TABLE visits ADD COLUMN last_contact_at TIMESTAMPTZ",
        },
    };
    return steps;
}

}  // namespace varmo::book
