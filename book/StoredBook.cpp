#include "book/StoredBook.h"

#include "link/SettingsStore.h"

namespace varmo::book {

namespace {

const QString kTechnicianKey = QStringLiteral("ksiega/technik");

}  // namespace

QString StoredTechnician()
{
    return ReadSetting(kTechnicianKey);
}

void StoreTechnician(const QString& name)
{
    if (name != StoredTechnician())
        WriteSetting(kTechnicianKey, name);
}

}  // namespace varmo::book
