#include "console/base/StatusFlags.h"

#include "protocol/StatusBits.h"

namespace varmo {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGrey(128, 128, 128);

}  // namespace

const std::array<StatusFlag, 7>& StatusFlags()
{
    // The words come from the status byte's meaning; the panel adds the
    // colours and the captions its labels show before the first answer.
    struct Look {
        const char* initialCaption;
        QColor setColour;
        QColor clearColour;
    };
    // In the order of StatusBits(). The design-time caption of TRF really
    // reads "proprawna"; the first answer replaces it.
    static const Look looks[] = {
        {"Fiskalna", kBlack, kBlue},
        {"Ostatni rozkaz poprawnie", kBlack, kRed},
        {"Tryb transakcji", kBlue, kGrey},
        {"Transakcja proprawna", kBlack, kRed},
        {"On-line", kBlue, kGrey},
        {"Brak papieru", kRed, kBlack},
        {"Błąd mechanizmu drukującego", kRed, kBlack},
    };
    static const std::array<StatusFlag, 7> flags = [] {
        std::array<StatusFlag, 7> made;
        for (std::size_t i = 0; i < made.size(); ++i) {
            const StatusBit& bit = StatusBits()[i];
            made[i] = StatusFlag{bit.name,
                                 bit.mask,
                                 bit.fromEnq,
                                 QString::fromUtf8(looks[i].initialCaption),
                                 QString::fromUtf8(bit.setText),
                                 looks[i].setColour,
                                 QString::fromUtf8(bit.clearText),
                                 looks[i].clearColour};
        }
        return made;
    }();
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
