#pragma once
// The exchange log's rows for a table view: a bounded ring, so memory stays
// flat however long the console runs; the oldest rows go first. Rows come in
// batches, each one insertion at the end (and at most one removal at the
// front), so the view never lays itself out again as a whole.
#include <QAbstractTableModel>
#include <deque>
#include <vector>

#include "console/log/ExchangeLogRows.h"

namespace varmo {

// Rows the log keeps by default; the oldest go first.
constexpr std::size_t kLogRowsKept = 100000;

class ExchangeLogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { TimeColumn, DirectionColumn, KindColumn, TextColumn, DescriptionColumn,
                  AnswerColumn, ColumnCount };
    // The row's LogKind as an int, for the kind filter.
    static constexpr int KindRole = Qt::UserRole + 1;

    explicit ExchangeLogModel(std::size_t capacity = kLogRowsKept, QObject* parent = nullptr);

    void Append(std::vector<LogRow> rows);
    void Clear();
    std::size_t Capacity() const { return capacity_; }
    const LogRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::size_t capacity_;
    std::deque<LogRow> rows_;
};

// The arrow of a row's direction: to the printer or from it.
QString DirectionArrow(bool sent);

}  // namespace varmo
