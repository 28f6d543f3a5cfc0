// A planted stray setting, read past the table.
#include "link/SettingsStore.h"

bool Visible() { return ReadSetting("dziennik/widoczny") == "1"; }
