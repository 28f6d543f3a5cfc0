#pragma once
// The visit book's windows share their table cells: read-only, a number
// sorted as a number, what is overdue in red.
#include <QDateTime>
#include <QTableWidget>
#include <optional>

#include "book/Book.h"

namespace varmo {

inline const QColor kOverdue(255, 0, 0);

// A cell that sorts by sortKey when one is given (days, dates as numbers).
class BookCell : public QTableWidgetItem {
public:
    explicit BookCell(const QString& text, std::optional<qint64> sortKey = std::nullopt)
        : QTableWidgetItem(text), key_(sortKey)
    {
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        const auto* cell = dynamic_cast<const BookCell*>(&other);
        if (cell && key_ && cell->key_)
            return *key_ < *cell->key_;
        return QTableWidgetItem::operator<(other);
    }

private:
    std::optional<qint64> key_;
};

inline QString BookDateText(const QDateTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

// The printers' columns: number, first header line, NIP, last visit, next
// inspection, days to it (below zero overdue, the row in red).
inline void FillPrinterRow(QTableWidget* table, int row, const book::PrinterRow& printer)
{
    const bool overdue = printer.dueInDays && *printer.dueInDays < 0;
    QTableWidgetItem* cells[] = {
        new BookCell(printer.uniqueNumber),
        new BookCell(printer.headerFirstLine),
        new BookCell(printer.nip),
        new BookCell(BookDateText(printer.lastVisit)),
        new BookCell(printer.nextInspection ? printer.nextInspection->toString(Qt::ISODate) : QString()),
        new BookCell(printer.dueInDays ? QString::number(*printer.dueInDays) : QString(),
                     printer.dueInDays.value_or(1'000'000))};
    for (int column = 0; column < 6; ++column) {
        if (overdue)
            cells[column]->setForeground(kOverdue);
        table->setItem(row, column, cells[column]);
    }
    cells[5]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

inline const QStringList& PrinterColumns()
{
    static const QStringList columns = {QStringLiteral("Numer unikatowy"), QStringLiteral("Nagłówek"),
                                        QStringLiteral("NIP"), QStringLiteral("Ostatnia wizyta"),
                                        QStringLiteral("Następny przegląd"), QStringLiteral("Dni")};
    return columns;
}

}  // namespace varmo
