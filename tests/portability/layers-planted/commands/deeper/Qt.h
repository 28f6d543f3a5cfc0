// Planted: Qt in the Qt-free catalogue, and a reach up into the link.
#include <QString>
#include "protocol/Command.h"
#include "link/ComPort.h"
