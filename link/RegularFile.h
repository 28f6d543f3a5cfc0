#pragma once
// What a path names before anything opens it. Opening a FIFO for reading
// waits until something writes to it, a device such as /dev/zero never ends,
// and a folder is no file: every file the programs read (the console's files,
// varmo-cli's scripts, the settings) is asked here first and refused unless
// it is a regular file. Symbolic links are followed.
#include <QString>
#include <string>

namespace varmo {

enum class FileKind {
    Missing,  // nothing there, or nothing the program may look at
    Regular,
    Folder,
    Pipe,     // a FIFO
    Device,   // a character or block device
    Other,    // a socket, a file of /proc or /sys, or anything else
};

FileKind KindOfFile(const QString& path);

// For a message about a path that is there but is no regular file, in Polish
// ("to potok (FIFO), a nie zwykły plik") and in English for varmo-cli ("a
// pipe (FIFO), not a regular file"). Empty for Missing and Regular.
std::string NotRegularFileText(FileKind kind);
std::string NotRegularFileTextEnglish(FileKind kind);

}  // namespace varmo
