#pragma once
// The console's per-user settings: "com", "baud", "plStd" (and devices/COM<n>),
// stored as text under organisation "Ferwen s.c.", application "Varmo". On
// Windows that is HKEY_CURRENT_USER\Software\Ferwen s.c.\Varmo.
#include <QString>

namespace varmo {

// Opened before the main window, closed after it is gone.
void OpenSettingsStore();
void CloseSettingsStore();

// The empty text when the value is missing or empty; Exception "Invalid data
// type for '<name>'" when it is not text.
QString ReadSetting(const QString& name);

// Exception "Failed to set data for '<name>'" when the store refuses.
void WriteSetting(const QString& name, const QString& value);

}  // namespace varmo
