// What a path names, asked before anything opens it: real files, folders,
// FIFOs and devices made for the test, and links to them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "link/RegularFile.h"

using namespace varmo;

TEST(RegularFile, EveryKindIsToldApartAndLinksAreFollowed)
{
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    QFile file(path("plain.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QDir().mkdir(path("folder")));
    ASSERT_EQ(mkfifo(path("fifo").toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(path("plain.txt"), path("to-plain")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path("to-zero")));
    ASSERT_TRUE(QFile::link(path("nothing"), path("dangling")));

    const struct {
        QString path;
        FileKind kind;
    } cases[] = {
        {path("plain.txt"), FileKind::Regular},
        {path("to-plain"), FileKind::Regular},
        {path("folder"), FileKind::Folder},
        {path("fifo"), FileKind::Pipe},
        {QStringLiteral("/dev/zero"), FileKind::Device},
        {path("to-zero"), FileKind::Device},
        // The kernel's own files look regular and are not.
        {QStringLiteral("/proc/self/status"), FileKind::Other},
        {path("nothing"), FileKind::Missing},
        {path("dangling"), FileKind::Missing},
        {path("plain.txt/below"), FileKind::Missing},
        {QString(), FileKind::Missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(KindOfFile(c.path), c.kind);
    }
}

TEST(RegularFile, WhatIsNoRegularFileIsSaidInPolishAndInEnglish)
{
    EXPECT_EQ(NotRegularFileText(FileKind::Pipe), "to potok (FIFO), a nie zwykły plik");
    EXPECT_EQ(NotRegularFileText(FileKind::Device), "to urządzenie, a nie zwykły plik");
    EXPECT_EQ(NotRegularFileText(FileKind::Folder), "to folder, a nie plik");
    EXPECT_EQ(NotRegularFileTextEnglish(FileKind::Pipe), "a pipe (FIFO), not a regular file");
    EXPECT_EQ(NotRegularFileText(FileKind::Regular), "");
    EXPECT_EQ(NotRegularFileTextEnglish(FileKind::Missing), "");
}
