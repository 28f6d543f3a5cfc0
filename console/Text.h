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

}  // namespace varmo
