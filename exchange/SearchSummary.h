#pragma once
// What a search that found no printer tells the operator, in one line: the
// ports it tried and at which speeds, then each port that would not open and
// what stood in the way (busy, forbidden, absent, in the words the status
// line and varmo-cli use). The port dialog's box and varmo-cli find alike.
#include <QString>

#include "exchange/PrinterSearch.h"

namespace varmo {

// "COM1 (/dev/ttyS0)", or the port alone when it is the device itself.
QString ShownPort(const QString& port, const QString& device);

// "Sprawdzono: COM1 (/dev/ttyS0), /dev/ttyUSB0 przy 9600, 2400 bd;
// nie otwarto: COM2 (/dev/pts/4): zajęty przez inny program (…)".
QString SearchSummary(const SearchResult& result);

}  // namespace varmo
