#include "console/log/ExchangeLogModel.h"

#include <algorithm>

namespace varmo {

ExchangeLogModel::ExchangeLogModel(std::size_t capacity, QObject* parent)
    : QAbstractTableModel(parent), capacity_(std::max<std::size_t>(capacity, 1))
{
}

QString DirectionArrow(bool sent)
{
    return sent ? QStringLiteral("→") : QStringLiteral("←");
}

void ExchangeLogModel::Append(std::vector<LogRow> rows)
{
    if (rows.empty())
        return;
    // A batch longer than the ring keeps only its newest rows.
    auto first = rows.begin();
    if (rows.size() > capacity_)
        first += static_cast<std::ptrdiff_t>(rows.size() - capacity_);
    const std::size_t incoming = static_cast<std::size_t>(rows.end() - first);

    const std::size_t room = capacity_ - rows_.size();
    if (incoming > room) {
        const std::size_t drop = incoming - room;
        beginRemoveRows({}, 0, static_cast<int>(drop) - 1);
        rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(drop));
        endRemoveRows();
    }
    const int at = static_cast<int>(rows_.size());
    beginInsertRows({}, at, at + static_cast<int>(incoming) - 1);
    std::move(first, rows.end(), std::back_inserter(rows_));
    endInsertRows();
}

void ExchangeLogModel::Clear()
{
    if (rows_.empty())
        return;
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

int ExchangeLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ExchangeLogModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ExchangeLogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const LogRow& row = Row(index.row());
    if (role == KindRole)
        return static_cast<int>(row.kind);
    if (role == Qt::TextAlignmentRole && index.column() == AnswerColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case TimeColumn:
        return row.when.toString(QStringLiteral("HH:mm:ss.zzz"));
    case DirectionColumn:
        return DirectionArrow(row.sent);
    case KindColumn:
        return row.what;
    case TextColumn:
        return row.text;
    case DescriptionColumn:
        return row.description;
    case AnswerColumn:
        return row.answerMs < 0 ? QString() : QStringLiteral("%1 ms").arg(row.answerMs);
    default:
        return {};
    }
}

QVariant ExchangeLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const captions[ColumnCount] = {"Czas", "Kierunek", "Rodzaj", "Treść",
                                                      "Polecenie", "Po czasie"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(captions[section]) : QVariant();
}

}  // namespace varmo
