#pragma once
// JSON fit for a terminal once it is read: every text in it, at any depth,
// with its control bytes escaped as the terminal output escapes them
// (ControlsEscaped: <ESC>, <$07>, <$7F>, the C1 controls). The visit book
// keeps what the printer and the technician gave, a header's BEL or a DEL
// typed into the notes among it; a program that prints a field of varmo-cli's
// JSON or of the book's export as it comes must never hand such a byte on.
#include <QJsonObject>
#include <QJsonValue>

namespace varmo::book {

QJsonValue EscapedJson(const QJsonValue& value);
QJsonObject EscapedJson(const QJsonObject& object);

}  // namespace varmo::book
