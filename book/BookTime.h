#pragma once
// The instants the book keeps: UTC, to the second, sortable as text
// ("2026-12-08T10:19:00Z"), so that two laptops in different zones, or one
// on either side of the change to summer time, order their visits alike.
// Books written before kept this computer's local time without the "Z";
// they are still read, as local time.
#include <QDateTime>
#include <QString>

namespace varmo::book {

QString BookTime(const QDateTime& time);
// The instant in this computer's local time (the lists show it so); not
// valid for a text that is no book time. Safe from any thread.
QDateTime FromBookTime(const QString& text);

}  // namespace varmo::book
