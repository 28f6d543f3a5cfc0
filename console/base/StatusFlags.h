#pragma once
// The printer's status bits as the panel shows them: which bit of the ENQ and
// DLE answers each flag is, its caption before the first answer, and its text
// and colour for a set or a clear bit.
#include <QColor>
#include <QString>
#include <array>

namespace varmo {

struct StatusFlag {
    const char* name;    // "FSK", "CMD", "PAR", "TRF", "ONL", "PE", "ERR"
    unsigned char mask;  // in the status byte that carries it
    bool fromEnq;        // ENQ (logical) or DLE (mechanical)
    QString initialCaption;
    QString setText;
    QColor setColour;
    QString clearText;
    QColor clearColour;
};

// The seven flags: the four ENQ flags, then the three DLE flags, each group in
// the order the panel updates them.
const std::array<StatusFlag, 7>& StatusFlags();

// The flag of that name, or nullptr.
const StatusFlag* FindStatusFlag(const QString& name);

}  // namespace varmo
