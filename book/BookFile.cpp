// The book's file: opened, told apart from another program's database,
// looked over for damage, brought forward, and written one transaction at a
// time with other writers waited for.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <mutex>

#include "book/BookFileOwner.h"
#include "book/BookSchema.h"
#include "book/BookTrouble.h"
#include "book/VisitBook.h"
#include "link/RegularFile.h"

namespace varmo::book {

namespace {

QString newConnectionName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("varmo-book-%1").arg(++count);
}

// Another writer (the console's own sync, varmo-cli beside it) holds the
// book for a few milliseconds a transaction; a writer that meets it waits
// this long before the write is tried again.
constexpr int kBusyWaitMs = 5000;

// The tables a Varmo book may hold; a database with any other is not ours.
bool ourTable(const QString& name)
{
    static const QSet<QString> ours = {
        QStringLiteral("schema_version"), QStringLiteral("printers"), QStringLiteral("visits"),
        QStringLiteral("checks"),         QStringLiteral("settings_taken"),
        QStringLiteral("files"),          QStringLiteral("server_state")};
    return ours.contains(name) || name.startsWith(QStringLiteral("sqlite_"));
}

// The damage looked for once a run for each file: the whole file read, off
// the window's thread where the console can.
std::mutex lookedOverMutex;
QSet<QString>& lookedOver()
{
    static QSet<QString> paths;
    return paths;
}

QString one(QSqlDatabase& db, const QString& path, const QString& statement)
{
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw BookErrorOf(query.lastError(), path, QStringLiteral("nie można odczytać księgi"));
    return query.next() ? query.value(0).toString() : QString();
}

}  // namespace

void LoadBookDriver()
{
    const QString name = QStringLiteral("varmo-book-driver");
    {
        const QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        (void)probe;
    }
    QSqlDatabase::removeDatabase(name);
}

VisitBook::VisitBook(const QString& path, int writeAttempts)
    : path_(path), writeAttempts_(std::max(1, writeAttempts))
{
    try {
        open();
    } catch (...) {
        close();
        throw;
    }
}

VisitBook::~VisitBook()
{
    close();
}

void VisitBook::close()
{
    if (connection_.isEmpty())
        return;
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
}

void VisitBook::open()
{
    const FileKind kind = KindOfFile(path_);
    if (kind != FileKind::Regular && kind != FileKind::Missing)
        throw BookError(Trouble::CannotOpen,
                        QStringLiteral("Księga wizyt (%1): %2; praca bez księgi.")
                            .arg(path_, QString::fromStdString(NotRegularFileText(kind)))
                            .toStdString());
    BookFilesForOwner(path_);
    connection_ = newConnectionName();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db_.isValid())
        throw BookError(Trouble::CannotOpen,
                        QStringLiteral("Księga wizyt: brak sterownika SQLite (QSQLITE), "
                                       "praca bez księgi.")
                            .toStdString());
    db_.setDatabaseName(path_);
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!db_.open())
        throw BookErrorOf(db_.lastError(), path_, QStringLiteral("nie można otworzyć"));
    try {
        try {
            identify();
        } catch (const BookError& error) {
            // A book kept with its write-ahead log on a medium that cannot be
            // written (a read-only mount, a copy on a disc) has no room for
            // the log's index: it opens for reading only, as a file nobody
            // changes, and every write is refused as read-only.
            if (error.Kind() != Trouble::CannotOpen || !QFileInfo::exists(path_))
                throw;
            db_.close();
            db_.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path_).absoluteFilePath()).toString(QUrl::FullyEncoded) +
                                QStringLiteral("?immutable=1"));
            db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
            if (!db_.open())
                throw BookErrorOf(db_.lastError(), path_, QStringLiteral("nie można otworzyć"));
            identify();
        }
        prepare();
    } catch (const BookError& error) {
        if (error.Kind() != Trouble::Corrupt)
            throw;
        putAside();
        prepare();
    }
}

// Only Varmo's books are touched: a database of another program (its own
// tables, its own mark) is refused before anything is written to it.
void VisitBook::identify()
{
    // The first read of the file: a file that is no database fails here.
    const int mark = one(db_, path_, QStringLiteral("PRAGMA application_id")).toInt();
    if (mark == kBookApplicationId)
        return;
    QSqlQuery tables(db_);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        throw BookErrorOf(tables.lastError(), path_, QStringLiteral("nie można odczytać księgi"));
    bool foreign = mark != 0;
    while (tables.next())
        foreign = foreign || !ourTable(tables.value(0).toString());
    if (foreign)
        throw BookError(Trouble::Foreign,
                        QStringLiteral("Księga wizyt (%1): to nie jest księga wizyt Varmo, lecz "
                                       "baza innego programu; nie zmieniono jej, praca bez księgi. "
                                       "Wskaż inny plik księgi.")
                            .arg(path_)
                            .toStdString());
}

// The journal kept beside the book, damage looked for, the tables brought
// forward.
void VisitBook::prepare()
{
    QSqlQuery(db_).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    // The write-ahead log: the window reads while the sync writes, and a
    // reader never waits for a writer. A book that cannot take it (read-only,
    // a network folder) stays with its old journal.
    if (one(db_, path_, QStringLiteral("PRAGMA journal_mode")).compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
        QSqlQuery(db_).exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    QSqlQuery(db_).exec(QStringLiteral("PRAGMA synchronous = FULL"));
    lookOver();
    MigrateForward(db_, path_);
}

void VisitBook::lookOver()
{
    // The same file as it was when last looked over: its size and time too,
    // so a file changed behind the program's back is looked at again.
    const QFileInfo file(path_);
    const QString key = file.absoluteFilePath() + QLatin1Char('|') + QString::number(file.size()) +
                        QLatin1Char('|') + QString::number(file.lastModified().toMSecsSinceEpoch());
    {
        std::lock_guard<std::mutex> lock(lookedOverMutex);
        if (lookedOver().contains(key))
            return;
    }
    const QString verdict = one(db_, path_, QStringLiteral("PRAGMA quick_check(1)"));
    if (verdict.compare(QStringLiteral("ok"), Qt::CaseInsensitive) != 0)
        throw BookError(Trouble::Corrupt,
                        QStringLiteral("Księga wizyt (%1) jest uszkodzona: %2").arg(path_, verdict).toStdString());
    std::lock_guard<std::mutex> lock(lookedOverMutex);
    lookedOver().insert(key);
}

// The damaged file goes aside whole, with its journal, and a new book takes
// its place; nothing of the old one is ever written over.
void VisitBook::putAside()
{
    db_.close();
    const QString aside = path_ + QStringLiteral(".uszkodzona-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (const QString& suffix : {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"),
                                  QStringLiteral("-shm")}) {
        if (QFile::exists(path_ + suffix) && !QFile::rename(path_ + suffix, aside + suffix))
            throw BookError(Trouble::Corrupt,
                            QStringLiteral("Księga wizyt (%1) jest uszkodzona i nie można jej "
                                           "odłożyć na bok; praca bez księgi.")
                                .arg(path_)
                                .toStdString());
    }
    asideNotice_ = QStringLiteral("Księga wizyt (%1) była uszkodzona: odłożono ją jako %2 "
                                  "i założono nową.")
                       .arg(path_, aside);
    BookFilesForOwner(path_);
    if (!db_.open())
        throw BookErrorOf(db_.lastError(), path_, QStringLiteral("nie można założyć nowej"));
}

// One transaction, taken for writing from its first statement: two writers
// that read before they write (the console and its sync, two varmo-cli)
// never both hold the book to read and then fail to write, as a deferred
// transaction would; the second waits its turn. A turn that does not come
// within the wait is tried again; only then is the write given up.
void VisitBook::write(const QString& doing, const std::function<void()>& body)
{
    if (depth_ > 0) {
        body();
        return;
    }
    for (int attempt = 1;; ++attempt) {
        QSqlQuery begin(db_);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            const BookError error = BookErrorOf(begin.lastError(), path_, doing);
            if (error.Kind() == Trouble::Locked && attempt < writeAttempts_)
                continue;
            throw error;
        }
        ++depth_;
        try {
            body();
            --depth_;
            QSqlQuery commit(db_);
            if (!commit.exec(QStringLiteral("COMMIT"))) {
                const BookError error = BookErrorOf(commit.lastError(), path_, doing);
                QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
                if (error.Kind() == Trouble::Locked && attempt < writeAttempts_)
                    continue;
                throw error;
            }
            return;
        } catch (const BookError& error) {
            if (depth_ > 0)
                --depth_;
            QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
            if (error.Kind() == Trouble::Locked && attempt < writeAttempts_)
                continue;
            throw;
        } catch (...) {
            if (depth_ > 0)
                --depth_;
            QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    }
}

}  // namespace varmo::book
