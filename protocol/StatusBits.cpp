#include "protocol/StatusBits.h"

namespace varmo {

const std::array<StatusBit, 7>& StatusBits()
{
    static const std::array<StatusBit, 7> bits{{
        {"FSK", 0x08, true, "Fiskalna", "Niefiskalna"},
        {"CMD", 0x04, true, "Ostatni rozkaz poprawnie", "Ostatni rozkaz niepoprawnie"},
        {"PAR", 0x02, true, "Tryb transakcji", "Poza trybem transakcji"},
        {"TRF", 0x01, true, "Ostatnia transakcja poprawnie", "Ostatnia transakcja niepoprawnie"},
        {"ONL", 0x04, false, "On-line", "Off-line"},
        {"PE", 0x02, false, "Brak papieru", "Jest papier"},
        {"ERR", 0x01, false, "Błąd mechanizmu drukującego", "Mechanizm drukujący OK"},
    }};
    return bits;
}

Lines StatusWords(unsigned char status, bool fromEnq)
{
    Lines words;
    for (const StatusBit& bit : StatusBits())
        if (bit.fromEnq == fromEnq)
            words.push_back((status & bit.mask) != 0 ? bit.setText : bit.clearText);
    return words;
}

}  // namespace varmo
