#include "book/BookExport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <cerrno>

#include "book/BookJson.h"
#include "book/EscapedJson.h"
#include "book/VisitBook.h"
#include "link/RegularFile.h"
#include "link/SerialError.h"
#include "protocol/CsvCell.h"
#include "protocol/Escaped.h"
#include "protocol/Exception.h"

namespace varmo::book {

namespace {

// Excel takes a CSV without it for the system's code page, and "Wójcik"
// comes out garbled.
const char kByteOrderMark[] = "\xEF\xBB\xBF";

QByteArray csvLine(const QStringList& cells)
{
    std::string line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += ';';
        line += CsvCell(ControlsEscaped(cells[i].toStdString()), ';');
    }
    return QByteArray::fromStdString(line + "\r\n");
}

QByteArray csvOf(VisitBook& book, int& count)
{
    QByteArray out = kByteOrderMark;
    out += csvLine({QStringLiteral("numer unikatowy"), QStringLiteral("NIP"),
                    QStringLiteral("nagłówek"), QStringLiteral("następny przegląd"),
                    QStringLiteral("wizyta"), QStringLiteral("początek"),
                    QStringLiteral("koniec"), QStringLiteral("technik"), QStringLiteral("port"),
                    QStringLiteral("program"), QStringLiteral("uwagi"),
                    QStringLiteral("przeglądy"), QStringLiteral("ustawienia")});
    for (const PrinterRow& printer : book.Printers()) {
        for (const VisitRow& visit : book.Visits(printer.uniqueNumber)) {
            ++count;
            out += csvLine(
                {printer.uniqueNumber, printer.nip, printer.headerFirstLine,
                 printer.nextInspection ? printer.nextInspection->toString(Qt::ISODate) : QString(),
                 visit.uuid, BookTime(visit.started),
                 visit.ended.isValid() ? BookTime(visit.ended) : QString(), visit.technician,
                 visit.port, visit.program, visit.notes, QString::number(visit.checks),
                 QString::number(visit.settings)});
        }
    }
    return out;
}

QByteArray jsonOf(VisitBook& book, int& count)
{
    QJsonArray printers;
    for (const PrinterRow& printer : book.Printers()) {
        QJsonArray visits;
        for (const VisitRow& visit : book.Visits(printer.uniqueNumber)) {
            ++count;
            visits.append(VisitJson(visit));
        }
        QJsonObject json = PrinterJson(printer);
        json.insert(QStringLiteral("visitList"), visits);
        printers.append(json);
    }
    return QJsonDocument(EscapedJson(QJsonObject{{QStringLiteral("printers"), printers}}))
        .toJson();
}

[[noreturn]] void notWritten(const QString& path, const std::string& reason)
{
    throw Exception("Nie można zapisać pliku " + QDir::toNativeSeparators(path).toStdString() +
                    ": " + reason);
}

// The system's number in Polish when there is one; Qt has only its own
// words, or "Unknown error" for a write that failed inside its buffer.
std::string reasonOf(int systemError, const QFileDevice& file)
{
    return systemError != 0 ? PolishSystemReason(systemError) : file.errorString().toStdString();
}

void writeWhole(const QString& path, const QByteArray& bytes)
{
    const FileKind kind = KindOfFile(path);
    if (kind != FileKind::Missing && kind != FileKind::Regular)
        notWritten(path, NotRegularFileText(kind));
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        notWritten(path, reasonOf(errno, file));
    // A short file sits whole in the buffer, and a full disk refuses it only
    // at the flush, which commit() would pass over: so the flush is checked.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        const int systemError = errno;
        file.cancelWriting();
        notWritten(path, reasonOf(systemError, file));
    }
    errno = 0;
    if (!file.commit())
        notWritten(path, reasonOf(errno, file));
}

}  // namespace

int ExportBook(VisitBook& book, ExportFormat format, const QString& path)
{
    int count = 0;
    const QByteArray bytes = format == ExportFormat::Csv ? csvOf(book, count) : jsonOf(book, count);
    writeWhole(path, bytes);
    return count;
}

}  // namespace varmo::book
