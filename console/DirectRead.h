#pragma once
// The read buttons of the clock, rates and header dialogs ask the printer
// directly: the read command's frame goes out and its answer is read straight
// from the port, past the main window, which neither shows nor interprets it.
#include <QString>
#include <functional>

namespace varmo {

class TCmdRequest;
class TFMain;

// Opens the port (or stops: the main window has said why), writes the
// request's frame with packets kept from the main window, reads up to 1000
// bytes and lets the request accept them. Accepted: fill runs, still with
// packets kept away. Refused (also when nothing came): the message box with
// failText and failCaption. The main window gets its packets back however
// this ends, errors included; errors go on to the caller.
void DirectRead(TFMain& main, TCmdRequest& request, const std::function<void()>& fill,
                const QString& failText, const QString& failCaption);

}  // namespace varmo
