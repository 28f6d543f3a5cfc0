#pragma once
// The operator's files, written all or nothing and read whole before anything
// on screen changes. Failures are Exceptions with a Polish message naming the
// file, for the standard error box.
#include <QString>
#include <string>

namespace varmo {

// Replaces the file with exactly these bytes; on failure the old file, if
// any, is left as it was.
void WriteWholeFile(const QString& path, const std::string& bytes);

// Every byte of the file.
std::string ReadWholeFile(const QString& path);

}  // namespace varmo
