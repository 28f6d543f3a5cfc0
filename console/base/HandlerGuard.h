#pragma once
// Every handler of the console runs inside this guard: an exception that
// leaves the handler is shown in the standard error box and the console
// carries on, so nothing ever crosses the Qt event loop.
#include <QString>
#include <exception>
#include <functional>

namespace varmo {

// The error box text: the message, with "." added when its last character
// sorts after "." (an empty message stays empty).
QString StandardErrorText(const QString& message);

// Shows the standard error box for an exception (its UTF-8 message).
void ShowStandardError(const std::exception& error);

// Runs the body; an exception is shown and swallowed. True when the body ran
// to its end.
bool Guarded(const std::function<void()>& body);

}  // namespace varmo
