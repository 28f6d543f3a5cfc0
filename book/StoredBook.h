#pragma once
// The one place where the visit book's settings are read and written, for the
// console and varmo-cli alike: "ksiega/technik", the technician's name that
// goes into every visit (empty when none was given).
#include <QString>

namespace varmo::book {

QString StoredTechnician();
// Kept only when it changed; the store's trouble is thrown to be told.
void StoreTechnician(const QString& name);

}  // namespace varmo::book
