#pragma once
// The operator's files, written all or nothing and read whole before anything
// on screen changes. Failures are Exceptions with a Polish message naming the
// file, for the standard error box.
#include <QString>
#include <cstdint>
#include <string>

namespace varmo {

// No command or header file is anywhere near this: a printer frame is well
// under a kilobyte, a header eight short lines.
constexpr std::int64_t kMaxReadFileSize = 64 * 1024;

// A shop's goods list runs to tens of thousands of rows of some thirty bytes.
constexpr std::int64_t kMaxGoodsFileSize = 4 * 1024 * 1024;

// Replaces the file with exactly these bytes. Every byte is on its way to the
// disk before the file takes the old one's place; on any failure the old file,
// if any, is left as it was.
void WriteWholeFile(const QString& path, const std::string& bytes);

// Every byte of the file. A file larger than the limit is refused before a
// byte of it is read.
std::string ReadWholeFile(const QString& path, std::int64_t limit = kMaxReadFileSize);

}  // namespace varmo
