#pragma once
// Where the visit book lives: one file in the user's data folder of the
// program, the same for the console and varmo-cli.
#include <QString>

namespace varmo::book {

// <AppDataLocation of "Ferwen s.c."/"Varmo">/ksiega-wizyt.sqlite
QString DefaultBookPath();

}  // namespace varmo::book
