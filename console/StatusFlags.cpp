#include "console/StatusFlags.h"

namespace varmo {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGrey(128, 128, 128);

}  // namespace

const std::array<StatusFlag, 7>& StatusFlags()
{
    static const std::array<StatusFlag, 7> flags{{
        {"FSK", 0x08, true, QStringLiteral("Fiskalna"), QStringLiteral("Fiskalna"), kBlack,
         QStringLiteral("Niefiskalna"), kBlue},
        {"CMD", 0x04, true, QStringLiteral("Ostatni rozkaz poprawnie"),
         QStringLiteral("Ostatni rozkaz poprawnie"), kBlack,
         QStringLiteral("Ostatni rozkaz niepoprawnie"), kRed},
        {"PAR", 0x02, true, QStringLiteral("Tryb transakcji"), QStringLiteral("Tryb transakcji"),
         kBlue, QStringLiteral("Poza trybem transakcji"), kGrey},
        // The design-time caption really reads "proprawna"; the first answer
        // replaces it.
        {"TRF", 0x01, true, QStringLiteral("Transakcja proprawna"),
         QStringLiteral("Ostatnia transakcja poprawnie"), kBlack,
         QStringLiteral("Ostatnia transakcja niepoprawnie"), kRed},
        {"ONL", 0x04, false, QStringLiteral("On-line"), QStringLiteral("On-line"), kBlue,
         QStringLiteral("Off-line"), kGrey},
        {"PE", 0x02, false, QStringLiteral("Brak papieru"), QStringLiteral("Brak papieru"), kRed,
         QStringLiteral("Jest papier"), kBlack},
        {"ERR", 0x01, false, QStringLiteral("Błąd mechanizmu drukującego"),
         QStringLiteral("Błąd mechanizmu drukującego"), kRed,
         QStringLiteral("Mechanizm drukujący OK"), kBlack},
    }};
    return flags;
}

const StatusFlag* FindStatusFlag(const QString& name)
{
    for (const StatusFlag& flag : StatusFlags())
        if (name == QLatin1String(flag.name))
            return &flag;
    return nullptr;
}

}  // namespace varmo
