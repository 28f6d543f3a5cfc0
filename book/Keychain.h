#pragma once
// The system's keychain (the session's Secret Service on Linux), asked and
// waited for. A session with none (no D-Bus, no keyring running) answers
// at once that it cannot; so does a build without QtKeychain.
#include <QString>

namespace varmo::book {

// Kept under the name; false and why (the keychain's words) when it cannot.
bool KeychainWrite(const QString& name, const QString& secret, QString* why = nullptr);

// What is kept under the name; empty when nothing is, or no keychain answers.
QString KeychainRead(const QString& name);

}  // namespace varmo::book
