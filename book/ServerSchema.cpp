#include "book/ServerSchema.h"

#include "book/RecordTables.h"

#include <algorithm>

namespace varmo::book {

namespace {

// What each version adds besides its columns.
const std::vector<std::vector<const char*>>& versionsOwn()
{
    static const std::vector<std::vector<const char*>> steps = {
        {
            "CREATE INDEX printers_next_inspection ON printers(next_inspection)",
            "CREATE INDEX printers_changed ON printers(changed_by)",
            "CREATE INDEX visits_of_printer ON visits(printer_id, started)",
            "CREATE INDEX visits_changed ON visits(changed_by)",
            "CREATE INDEX checks_of_visit ON checks(visit_id)",
            "CREATE INDEX settings_of_visit ON settings_taken(visit_id)",
            "CREATE INDEX files_of_visit ON files(visit_id)",
        },
        // The server's own time of a printer's last contact and of a visit's,
        // stamped as the row arrives: the laptop's clock measures how long
        // ago it was, the server's clock says when that is. "Newer" is
        // decided by these, so a laptop whose clock is a day ahead never
        // wins over a later visit. Rows from before have none (NULL) and are
        // compared by the laptops' text as they always were.
        {},
    };
    return steps;
}

}  // namespace

const std::vector<std::vector<QString>>& ServerMigrations()
{
    static const std::vector<std::vector<QString>> steps = [] {
        // A version is a column described with it, or an entry of its own above.
        const std::size_t versions = std::max(versionsOwn().size(),
                                              static_cast<std::size_t>(LastColumnsVersion(Dialect::Postgres)));
        std::vector<std::vector<QString>> all;
        for (std::size_t at = 0; at < versions; ++at) {
            std::vector<QString> step = ColumnsAt(Dialect::Postgres, static_cast<int>(at) + 1);
            if (at < versionsOwn().size())
                for (const char* statement : versionsOwn()[at])
                    step.push_back(QString::fromUtf8(statement));
            all.push_back(step);
        }
        return all;
    }();
    return steps;
}

}  // namespace varmo::book
