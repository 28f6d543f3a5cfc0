#pragma once
// The laptop's side of the shared book: what waits for the server (printers
// and visits changed since the server last took them), read a batch at a
// time with everything in the visits, marked as taken once the server has
// committed it, and the state of the copy of the server kept here.
#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <map>
#include <vector>

#include "book/RecordTables.h"

namespace varmo::book {

class VisitBook;

// Every row holds its table's travelling columns, as RecordTables lists them.
struct WaitingPrinter {
    qint64 id = 0;
    qint64 revision = 0;
    Row columns;  // PrintersTable()
};

struct WaitingVisit {
    qint64 id = 0;
    qint64 revision = 0;
    QString uniqueNumber;
    Row columns;                // VisitsTable()
    std::vector<Row> checks;    // ChecksTable()
    std::vector<Row> settings;  // SettingsTable()
    std::vector<Row> files;     // FilesTable()
};

// The printers waiting, in the order of their unique numbers, after `after`.
std::vector<WaitingPrinter> WaitingPrinters(VisitBook& book, const QString& after, int limit);
// One printer as the book has it, waiting or not.
WaitingPrinter PrinterColumns(VisitBook& book, const QString& uniqueNumber);
// The visits waiting, after the visit `after`, with their checks, settings, files.
std::vector<WaitingVisit> WaitingVisits(VisitBook& book, qint64 after, int limit);

void MarkPrintersSent(VisitBook& book, const std::vector<WaitingPrinter>& printers);
// serverMarks: the server's mark of each visit, by the visit's id here.
void MarkVisitsSent(VisitBook& book, const std::vector<WaitingVisit>& visits,
                    const std::map<qint64, QString>& serverMarks);

// How many visits wait for the server.
int WaitingCount(VisitBook& book);

// server_state: how far the copy of the server goes, and the last contact.
QString ServerState(VisitBook& book, const QString& name);
void SetServerState(VisitBook& book, const QString& name, const QString& value);
QDateTime LastServerContact(VisitBook& book);

}  // namespace varmo::book
