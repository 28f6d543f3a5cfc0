// Planted: a widget reaching up into the program's root.
#include <QWidget>
#include "console/base/Text.h"
#include "console/app/FormSet.h"
