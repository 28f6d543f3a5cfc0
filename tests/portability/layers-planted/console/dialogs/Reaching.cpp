// Planted: a dialog reaching up into the main window past MainServices.
#include "console/dialogs/MainServices.h"
#include "console/base/Prompts.h"
#include "console/mainwindow/TFMain.h"
