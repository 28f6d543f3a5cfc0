#pragma once
// The console's per-user settings: "com", "baud", "plStd" (and devices/COM<n>),
// stored as text under organisation "Ferwen s.c.", application "Varmo". On
// Windows that is HKEY_CURRENT_USER\Software\Ferwen s.c.\Varmo; elsewhere the
// INI file Varmo.ini in the folder "Ferwen s.c." of the user's settings.
#include <QString>
#include <string>

#include "protocol/Exception.h"

namespace varmo {

// Opened before the main window, closed after it is gone. Each opening
// starts a run: the store's own trouble is told once a run (below).
void OpenSettingsStore();
void CloseSettingsStore();

// A stored value that is neither text nor a number (a list, binary data):
// a settings problem, which varmo-cli ends with an exit status of its own.
class SettingsTypeError : public Exception {
public:
    explicit SettingsTypeError(const std::string& message) : Exception(message) {}
};

// The empty text when the value is missing or empty, or when the store
// cannot be read at all (below); a number (REG_DWORD, REG_QWORD, as an
// administrator's .reg file writes a speed) as its digits;
// SettingsTypeError "Invalid data type for '<name>'" for anything else.
QString ReadSetting(const QString& name);

// Stores the value. Exception "Failed to set data for ''" without a name.
// A store that cannot keep it is told once a run (below).
void WriteSetting(const QString& name, const QString& value);

// The same for what is a comfort rather than a setting (where the log
// stood): false when it was not kept, and never a word of the store's
// trouble, which stays to be told by a write that matters.
bool WriteSettingQuietly(const QString& name, const QString& value);

// The store's own trouble: a settings file that is no regular file (a FIFO,
// a device, a folder: never opened, so nothing waits on it; every read
// gives the empty text, so the defaults apply), or a folder that cannot be
// written. It is told once a run, in Polish, naming the place: the first
// write that meets it throws an Exception saying so, and later ones are not
// kept, without a word.
//
// The same look at start, before a write has had to fail: the message (the
// trouble then counts as told), or the empty text when all is well or the
// trouble was told already.
std::string SettingsStoreProblem();

// A settings file that could not be read (bytes that are no text, no INI
// file) is set aside at the opening as "Varmo.ini.bad-<date>" and a fresh
// one started: SettingsStoreProblem, or SettingsFileProblem, tells it first.
//
// Only a settings file that is no regular file, for a program that reads
// the settings and never writes them (varmo-cli); does not count as told.
std::string SettingsFileProblem();

// The folder the settings are kept in (on Windows the registry key).
QString SettingsFolder();

}  // namespace varmo
