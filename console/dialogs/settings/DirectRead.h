#pragma once
// The read buttons of the clock, rates and header dialogs ask the printer
// directly: the read command's frame goes out and its answer is read straight
// from the port, past the main window, which neither shows nor interprets it.
#include <QString>
#include <functional>

namespace varmo {

class TCmdRequest;
class MainServices;

// Opens the port (or stops: the main window has said why) and lets the
// exchange read past the current command. Accepted: fill runs, with packets
// still kept from the main window. Refused (also when nothing came): the
// message box with failText and failCaption. Errors go on to the caller.
void DirectRead(MainServices& main, TCmdRequest& request, const std::function<void()>& fill,
                const QString& failText, const QString& failCaption);

}  // namespace varmo
