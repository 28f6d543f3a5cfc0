#pragma once
// Every setting of the console's own, in one table: its key, its kind, its
// default and the form it is stored in. The link's settings (port, speed,
// code page, devices) are StoredLink's and the visit book's StoredBook's;
// nothing else names a key.
#include <QByteArray>

namespace varmo::Settings {

// A yes or no, stored as the texts on and off (the forms earlier versions
// wrote, so their files read the same). Anything else, or nothing, is the
// default.
struct Flag {
    const char* key;
    bool byDefault;
    const char* on;
    const char* off;
};

// A comfort rather than a setting, kept as Base64; empty by default. A
// value that cannot be read is the default too.
struct Bytes {
    const char* key;
};

// "Ustawienia": after a command that takes no answer, the error number is
// read at once.
inline constexpr Flag CheckAfterSend{"wykonanie/sprawdzajKodBledu", false, "1", "0"};
// "Ustawienia": the port's opening reads the cash information.
inline constexpr Flag IdentifyOnOpen{"printer/identify", true, "true", "false"};
// The exchange log shown under the window, where it stood, and the window's
// own size and place.
inline constexpr Flag LogVisible{"dziennik/widoczny", false, "1", "0"};
inline constexpr Bytes LogPlace{"dziennik/uklad"};
inline constexpr Bytes WindowPlace{"okno/polozenie"};

bool Read(const Flag& flag);
QByteArray Read(const Bytes& bytes);
// Kept, or the store's trouble thrown as an Exception to be told.
void Write(const Flag& flag, bool value);
// Kept when the store can; false when not, without a word.
bool WriteQuietly(const Flag& flag, bool value);
bool WriteQuietly(const Bytes& bytes, const QByteArray& value);

}  // namespace varmo::Settings
