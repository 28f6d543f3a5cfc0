#pragma once
// After a series of frames written straight to the port (the test receipt,
// the goods report), the printer is asked how the last of them went: ENQ,
// and when its CMD flag says the command failed, the error number it
// recorded. A printer still inside an earlier report, or out of paper, must
// not be thanked with "sent".
#include <QString>

namespace varmo {

class MainServices;

// Tells the operator, under caption, why the printer refused the last
// command, and returns true: the dialog then says no more. False when the
// printer took the command or did not answer the status query, so the
// dialog's own message stands.
bool TellIfRefused(MainServices& main, const QString& caption);

}  // namespace varmo
