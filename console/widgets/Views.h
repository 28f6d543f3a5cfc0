#pragma once
// Filling the console's read-only views: new text replaces the old and is
// shown from its first character, however long its line.
#include <QString>

#include "protocol/Types.h"

class QPlainTextEdit;

namespace varmo {

void ShowText(QPlainTextEdit* view, const QString& text);
void ShowLines(QPlainTextEdit* view, const Lines& lines);

}  // namespace varmo
