#include "exchange/ExchangeRecord.h"

#include "protocol/Frame.h"

namespace varmo {

const char* ControlDescription(char control)
{
    switch (control) {
    case kENQ:
        return "Zapytanie o status drukarki";
    case kDLE:
        return "Zapytanie o status mechaniczny drukarki";
    case kCAN:
        return "Przerwanie realizacji rozkazu";
    default:
        return "";
    }
}

}  // namespace varmo
