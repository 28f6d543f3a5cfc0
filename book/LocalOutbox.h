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

namespace varmo::book {

class VisitBook;

// A row as read, its columns in the order of the statements below.
using Row = QVariantList;

struct WaitingPrinter {
    qint64 id = 0;
    qint64 revision = 0;
    Row columns;  // uuid, unique_number, nip, fiscal, header, header_first,
                  // header_loose, rates, first_seen, last_seen,
                  // next_inspection, inspection_message
};

struct WaitingVisit {
    qint64 id = 0;
    qint64 revision = 0;
    QString uniqueNumber;
    Row columns;  // uuid, started, last_contact, ended, technician, port, program, notes
    std::vector<Row> checks;    // made .. steps, as the checks table
    std::vector<Row> settings;  // made, what, detail, offset_before, offset_after
    std::vector<Row> files;     // made, path
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

extern const char* const kCheckColumns;    // the checks' columns after visit_id
extern const char* const kSettingColumns;  // the settings' columns after visit_id
extern const char* const kFileColumns;     // the files' columns after visit_id

}  // namespace varmo::book
