// Planted: widgets below the console.
#include <QObject>
#include <QWidget>
#include "console/TFMain.h"
