#pragma once
// The operator's files, written all or nothing and read whole before anything
// on screen changes. Failures are Exceptions with a Polish message naming the
// file, for the standard error box.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

class QSaveFile;

namespace varmo {

// No command or header file is anywhere near this: a printer frame is well
// under a kilobyte, a header eight short lines.
constexpr std::int64_t kMaxReadFileSize = 64 * 1024;

// A shop's goods list runs to tens of thousands of rows of some thirty bytes.
constexpr std::int64_t kMaxGoodsFileSize = 4 * 1024 * 1024;

// Replaces the file with exactly these bytes. Every byte is on its way to the
// disk before the file takes the old one's place; on any failure the old file,
// if any, is left as it was.
// Failures name the file and the system's reason.
void WriteWholeFile(const QString& path, const std::string& bytes);

// The same, for a file written piece by piece: nothing replaces the old file
// until Commit, and a writer dropped before it (or after a failure) leaves
// the old file as it was.
class FileWriter {
public:
    explicit FileWriter(const QString& path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void Write(const char* bytes, std::size_t count);
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    void Write(const QByteArray& bytes)
    {
        Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    void Commit();

private:
    std::unique_ptr<QSaveFile> file_;
    QString path_;
};

// Every byte of the file. A file larger than the limit is refused before a
// byte of it is read; a folder, a FIFO or a device before it is opened (the
// message names the file and says what it is), so nothing ever waits on it.
std::string ReadWholeFile(const QString& path, std::int64_t limit = kMaxReadFileSize);

}  // namespace varmo
