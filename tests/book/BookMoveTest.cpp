// A book of an earlier version moved to where the book lives now (on
// Windows from the roaming to the local profile), on real SQLite files: the
// old file goes only once its copy opened and read whole; a file that is no
// sound book stays where it was and is used there.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "book/BookPath.h"
#include "book/VisitBook.h"

namespace varmo::book {
namespace {

int visitsIn(const QString& path)
{
    VisitBook book(path);
    return static_cast<int>(book.Visits(QStringLiteral("TST00012345")).size());
}

TEST(BookMoveTest, TheOldBookGoesOnlyOnceItsCopyIsProven)
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("Roaming/Varmo/ksiega-wizyt.sqlite"));
    const QString to = dir.filePath(QStringLiteral("Local/Varmo/ksiega-wizyt.sqlite"));
    const struct {
        const char* what;
        QByteArray damage;  // written over the old book; empty: a sound book
        bool newThere;      // a book already in the new place
        QString used;
        bool oldKept;
    } cases[] = {
        {"a sound book moves", {}, false, to, false},
        {"a damaged book stays and is used", QByteArray(4096, 'x'), false, from, true},
        {"a book already moved is not touched again", {}, true, to, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString& path : {from, to})
            QFile::remove(path);
        {
            VisitBook old(from);
            PrinterSeen seen;
            seen.uniqueNumber = QStringLiteral("TST00012345");
            const QDateTime now = QDateTime::currentDateTime();
            const qint64 visit = old.BeginVisit(old.NotePrinter(seen, now),
                                                {now, QStringLiteral("Jan"), QStringLiteral("COM1"),
                                                 QStringLiteral("varmo-cli")});
            old.EndVisit(visit, now);
        }
        if (!c.damage.isEmpty()) {
            QFile file(from);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.seek(100);
            file.write(c.damage);
        }
        if (c.newThere)
            VisitBook fresh(to);
        EXPECT_EQ(MoveBook(from, to), c.used);
        EXPECT_EQ(QFile::exists(from), c.oldKept);
        EXPECT_FALSE(QFile::exists(to + QStringLiteral(".przenoszona")));
        if (c.damage.isEmpty())
            EXPECT_EQ(visitsIn(c.used), c.newThere ? 0 : 1);
    }
}

}  // namespace
}  // namespace varmo::book
