#pragma once
// A settings file that cannot be read as settings (bytes that are no text, a
// file that is no INI file) is set aside beside itself as
// "Varmo.ini.bad-<date>", so that a fresh one starts instead of the garbage
// being read and written back; the operator is told where it went.
#include <QString>
#include <string>

namespace varmo {

// For the regular file at path: sets it aside when it cannot be read, and
// returns the Polish message naming both places; empty when it was read
// well (or could not be moved, and stays where it is).
std::string SetAsideUnreadable(const QString& path);

}  // namespace varmo
