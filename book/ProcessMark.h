#pragma once
// A mark for this running program ("laptop-7:12345"), kept on the visit it
// holds open, and whether the program a mark names still runs here.
#include <QString>

namespace varmo::book {

QString ThisProcessMark();
// True for a mark of another computer (its program cannot be asked), and
// for a program of this computer that still runs.
bool ProcessMarkAlive(const QString& mark);

}  // namespace varmo::book
