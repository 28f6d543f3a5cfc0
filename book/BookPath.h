#pragma once
// Where the visit book lives: one file in the user's data folder of the
// program, the same for the console and varmo-cli.
#include <QString>

namespace varmo::book {

// Linux: <AppDataLocation of "Ferwen s.c."/"Varmo">/ksiega-wizyt.sqlite
// (~/.local/share/Ferwen s.c./Varmo/). Windows: ksiega-wizyt.sqlite in
// %LOCALAPPDATA%\Varmo, a book of an earlier version in the roaming folder
// (%APPDATA%\Ferwen s.c\Varmo) moved there on first use.
QString DefaultBookPath();

// The book at `from` moved to `to` when `to` is not there yet: copied (with
// its journal), the copy opened and checked whole, and only then the old
// file removed. The path to use: `to`, or `from` while the move cannot be
// made (the old book stays as it was and the copy goes).
QString MoveBook(const QString& from, const QString& to);

}  // namespace varmo::book
