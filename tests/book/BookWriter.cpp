// Writes visits into the book given until it is killed, printing each
// visit's number once its transaction is committed.
#include <QCoreApplication>
#include <QThread>
#include <cstdio>

#include "book/VisitBook.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    varmo::book::VisitBook book(QString::fromLocal8Bit(argv[1]));
    varmo::book::PrinterSeen seen;
    seen.uniqueNumber = QStringLiteral("TST00000001");
    seen.header = QStringList{QStringLiteral("SKLEP"), QStringLiteral("ul. Długa 1")};
    for (int i = 0;; ++i) {
        const QDateTime when = QDateTime::currentDateTime();
        qint64 visit = 0;
        book.Together(QStringLiteral("test"), [&] {
            const qint64 printer = book.NotePrinter(seen, when);
            visit = book.BeginVisit(printer, {when, QStringLiteral("Jan"), QStringLiteral("COM1"),
                                              QStringLiteral("test")});
            varmo::book::CheckRecord check;
            check.values.made = when;
            check.values.lastReceipt = i;
            check.stepsJson = QString(4000, QLatin1Char('x'));  // a write of some pages
            book.AddCheck(visit, check);
            book.EndVisit(visit, when);
        });
        std::printf("%lld\n", static_cast<long long>(visit));
        std::fflush(stdout);
        // A breath between visits, as any real writer has: SQLite's wait for
        // the lock is no queue, and a writer that takes it back at once
        // could keep another waiting past its patience.
        if (argc > 2)
            QThread::msleep(1);
    }
}
