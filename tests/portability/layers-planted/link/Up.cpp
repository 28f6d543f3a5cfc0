// Planted: the link reaching up into the command catalogue and the exchange.
#include "link/ComPort.h"
#include "commands/DescriptionText.h"
#include "exchange/PrinterExchange.h"
