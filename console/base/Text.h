#pragma once
// The console's one meeting point of QString and Windows-1250 bytes, and of
// the core's UTF-8 line lists and the views.
#include <QString>
#include <string>

#include "protocol/Types.h"

namespace varmo {

QString FromCp1250(const std::string& bytes);

// Characters that Windows-1250 cannot carry become '?'.
std::string ToCp1250(const QString& text);

QString FromUtf8(const std::string& text);

// One line per entry, joined with line feeds, for a view.
QString LinesText(const Lines& lines);

// A value from the settings, a file or the line as a label shows it: up to
// kShownAtMost characters, a longer one cut there and ended with "…", so
// that no value can fill the window or take long to lay out.
constexpr qsizetype kShownAtMost = 200;
QString ShownAtMost(const QString& text, qsizetype most = kShownAtMost);

}  // namespace varmo
