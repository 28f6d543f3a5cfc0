#pragma once
// A laptop's book filled with visits at once, as months of work would fill
// it: printers TST00000000 on, each visit with one check, ended.
#include <QDateTime>

#include "book/VisitBook.h"

namespace varmo::test {

inline void FillBook(book::VisitBook& book, int visits, int printers, const QString& technician,
                     const QDateTime& from = QDateTime::currentDateTime().addDays(-300))
{
    book.Together(QStringLiteral("wypełnianie"), [&] {
        for (int i = 0; i < visits; ++i) {
            const QDateTime when = from.addSecs(static_cast<qint64>(i) * 600);
            book::PrinterSeen seen;
            seen.uniqueNumber = QStringLiteral("TST%1").arg(i % printers, 8, 10, QLatin1Char('0'));
            seen.header = QStringList{QStringLiteral("Sklep %1").arg(i % printers),
                                      QStringLiteral("ul. Długa 1")};
            const qint64 printer = book.NotePrinter(seen, when);
            const qint64 visit =
                book.BeginVisit(printer, {when, technician, QStringLiteral("COM1"),
                                          QStringLiteral("varmo-cli")});
            book::CheckRecord check;
            check.values.made = when;
            check.values.clockOffset = i % 30;
            check.values.lastReceipt = i;
            check.stepsJson = QStringLiteral("[{\"name\":\"ENQ\",\"answered\":true}]");
            book.AddCheck(visit, check);
            book.EndVisit(visit, when.addSecs(300));
            if (i < printers)
                book.SetNextInspection(printer, from.date().addDays(300 + i % 60),
                                       QStringLiteral("PRZEGLĄD"));
        }
    });
}

}  // namespace varmo::test
