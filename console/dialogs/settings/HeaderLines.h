#pragma once
// The lines of a multi-line field the way the operator counts them: a line
// break ends a line, and the empty line after the last break is no line, so
// an empty field has none.
#include <QString>
#include <QStringList>

namespace varmo {

QStringList MemoLines(const QString& text);

// The field's text for these lines; MemoLines gives them back unchanged.
QString MemoText(const QStringList& lines);

// Without blanks and control characters at the right end.
QString TrimRight(const QString& line);

// Trimmed at both ends and, when shorter than a header line may be, put in
// the middle of one with half the missing blanks (rounded down) in front.
QString CentredLine(const QString& line);

}  // namespace varmo
