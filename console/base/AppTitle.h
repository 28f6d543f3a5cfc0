#pragma once
// The application's title: the caption of the standard error box.
#include <QString>

namespace varmo {

inline QString ApplicationTitle() { return QStringLiteral("Varmo"); }

}  // namespace varmo
