#pragma once
// A real PostgreSQL 15 for the shared book's tests and benchmark: a cluster
// made by initdb in a temporary folder, with a password, started by pg_ctl
// on 127.0.0.1 and a free port, and stopped (immediately) when done. Run as
// the postgres user through runuser when the tests run as root, since the
// server refuses to run as root. Debian's postgresql-15 is the one used.
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>
#include <atomic>
#include <string>

namespace varmo::test {

class PgServer {
public:
    static constexpr const char* kUser = "varmo";
    static constexpr const char* kPassword = "tajne-Haslo;'\\\"x";
    static constexpr const char* kBin = "/usr/lib/postgresql/15/bin";

    // durable: fsync as in the office; off for the tests' speed. Commits
    // are not waited for by default either: the book asks for them itself.
    explicit PgServer(bool durable = false)
    {
        if (!dir_.isValid()) {
            problem_ = "no temporary folder";
            return;
        }
        data_ = dir_.filePath(QStringLiteral("data"));
        const QString passwordFile = dir_.filePath(QStringLiteral("pw"));
        {
            QFile file(passwordFile);
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray(kPassword) + '\n');
        }
        if (geteuid() == 0 &&
            !run(QStringLiteral("chown"), {QStringLiteral("-R"), QStringLiteral("postgres:postgres"),
                                           dir_.path()}, false)) {
            return;
        }
        if (!run(bin("initdb"),
                 {QStringLiteral("-D"), data_, QStringLiteral("-U"), QString::fromLatin1(kUser),
                  QStringLiteral("--pwfile=") + passwordFile, QStringLiteral("-A"),
                  QStringLiteral("scram-sha-256"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                  QStringLiteral("--no-locale"), QStringLiteral("--no-sync")}))
            return;
        port_ = freePort();
        options_ = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c lc_messages=C")
                       .arg(port_)
                       .arg(dir_.path());
        if (!durable)
            options_ += QStringLiteral(" -c fsync=off -c synchronous_commit=off");
        Start();
    }

    ~PgServer()
    {
        if (running_)
            Stop();
        for (const QString& name : connections_)
            QSqlDatabase::removeDatabase(name);
    }

    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    bool Start()
    {
        running_ = run(bin("pg_ctl"), {QStringLiteral("-D"), data_, QStringLiteral("-l"),
                                       dir_.filePath(QStringLiteral("log")), QStringLiteral("-w"),
                                       QStringLiteral("-o"), options_, QStringLiteral("start")});
        return running_;
    }

    // At once, as a server whose power went: the connections are cut.
    bool Stop()
    {
        running_ = false;
        return run(bin("pg_ctl"), {QStringLiteral("-D"), data_, QStringLiteral("-m"),
                                   QStringLiteral("immediate"), QStringLiteral("-w"),
                                   QStringLiteral("stop")});
    }

    // The server's processes stopped as a machine that froze: the kernel
    // still takes connections and answers keepalives, nothing else does.
    // The postmaster first, so that no new process comes meanwhile.
    bool Pause() { return signalAll(SIGSTOP); }
    bool Resume() { return signalAll(SIGCONT); }

    bool Running() const { return running_; }
    int Port() const { return port_; }
    // Why the server is not there.
    const std::string& Problem() const { return problem_; }

    // Without the password, as a command line must give it: the password
    // goes in PGPASSWORD, the password file or the keychain.
    QString PlainUri(const QString& database, const QString& extra = {}) const
    {
        return QStringLiteral("postgresql://") + QString::fromLatin1(kUser) +
               QStringLiteral("@127.0.0.1:") + QString::number(port_) + QLatin1Char('/') +
               database + extra;
    }

    // With the password, for the book's own calls in the test's process.
    QString Uri(const QString& database, const QString& extra = {}) const
    {
        // Put together, not with arg(): the encoded password holds "%3B".
        return QStringLiteral("postgresql://") + QString::fromLatin1(kUser) + QLatin1Char(':') +
               QString::fromUtf8(QUrl::toPercentEncoding(QString::fromLatin1(kPassword))) +
               QStringLiteral("@127.0.0.1:") + QString::number(port_) + QLatin1Char('/') +
               database + extra;
    }

    // A database of the test's own.
    bool CreateDatabase(const QString& name)
    {
        return Exec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE ") + name).isValid();
    }

    // One value of a statement run on the database, invalid when it failed.
    QVariant Exec(const QString& database, const QString& statement)
    {
        QSqlDatabase db = connection(database);
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            problem_ = query.lastError().text().toStdString();
            return {};
        }
        return query.next() ? query.value(0) : QVariant(0);
    }

    // A connection of the test's own to the database (opened, or not).
    QSqlDatabase connection(const QString& database)
    {
        const QString name = QStringLiteral("pgtest-%1").arg(database);
        if (!QSqlDatabase::contains(name)) {
            connections_ << name;
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(QStringLiteral("127.0.0.1"));
            db.setPort(port_);
            db.setDatabaseName(database);
            db.setUserName(QString::fromLatin1(kUser));
            db.setPassword(QString::fromLatin1(kPassword));
        }
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (!db.isOpen() || !QSqlQuery(db).exec(QStringLiteral("SELECT 1"))) {
            db.close();
            db.open();
        }
        return db;
    }

private:
    static QString bin(const char* program)
    {
        return QString::fromLatin1(kBin) + QLatin1Char('/') + QString::fromLatin1(program);
    }

    // As postgres when root; the output kept for a failure's message.
    bool run(const QString& program, const QStringList& arguments, bool asServer = true)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (asServer && geteuid() == 0)
            process.start(QStringLiteral("runuser"),
                          QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                      QStringLiteral("--"), program} + arguments);
        else
            process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            problem_ = (program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
                        QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()))
                           .toStdString();
            return false;
        }
        return true;
    }

    // The postmaster (its pid in postmaster.pid) and every process it started.
    bool signalAll(int signal)
    {
        QFile pidFile(data_ + QStringLiteral("/postmaster.pid"));
        if (!pidFile.open(QIODevice::ReadOnly))
            return false;
        const pid_t postmaster = QString::fromLatin1(pidFile.readLine()).trimmed().toInt();
        if (postmaster <= 0 || ::kill(postmaster, signal) != 0)
            return false;
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            const pid_t pid = entry.toInt(&number);
            if (!number)
                continue;
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                continue;
            // "pid (name) state ppid ...": the name may hold spaces.
            const QString text = QString::fromLatin1(stat.readAll());
            const QStringList after = text.mid(text.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
            if (after.size() > 1 && after[1].toInt() == postmaster)
                ::kill(pid, signal);
        }
        return true;
    }

    // A port nothing listens on now; the server takes it at once.
    static int freePort()
    {
        const int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        socklen_t length = sizeof address;
        bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
        close(s);
        return ntohs(address.sin_port);
    }

    QTemporaryDir dir_;
    QString data_;
    QString options_;
    int port_ = 0;
    bool running_ = false;
    std::string problem_;
    QStringList connections_;
};

}  // namespace varmo::test
