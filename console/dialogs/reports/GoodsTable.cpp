#include "console/dialogs/reports/GoodsTable.h"

#include <exception>

#include "protocol/Exception.h"

namespace varmo {

namespace {

const char* const kFieldNames[] = {"Nazwa", "Ptu"};

}  // namespace

GoodsTable::GoodsTable(QObject* parent) : QAbstractTableModel(parent) {}

bool GoodsTable::Modified() const { return openRow_ >= 0 && !(buffer_ == original_); }

void GoodsTable::open(int row)
{
    openRow_ = row;
    original_ = row < RecordCount() ? rows_[static_cast<std::size_t>(row)] : GoodsRow{};
    buffer_ = original_;
}

void GoodsTable::setField(GoodsRow& row, int column, const QString& text) const
{
    // Longer text is cut to the field's width as it is stored.
    if (column == kNameColumn)
        row.name = text.left(kNameWidth);
    else
        row.rate = text.left(kRateWidth);
}

void GoodsTable::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

bool GoodsTable::passesChecks(GoodsRow& row) const
{
    const QString* fields[] = {&row.name, &row.rate};
    for (int column = 0; column < 2; ++column)
        if (fields[column]->isEmpty())
            throw Exception(std::string("Field '") + kFieldNames[column] + "' must have a value");
    if (BeforePost && !BeforePost(row))
        return false;
    setField(row, kNameColumn, row.name);
    setField(row, kRateColumn, row.rate);
    return true;
}

bool GoodsTable::Post()
{
    if (openRow_ < 0)
        return true;
    GoodsRow row = buffer_;
    if (!passesChecks(row))
        return false;

    const int at = openRow_;
    openRow_ = -1;
    if (at < RecordCount()) {
        rows_[static_cast<std::size_t>(at)] = row;
        rowChanged(at);
    } else {
        // The new row takes the empty line's place; a fresh one follows it.
        rows_.push_back(row);
        rowChanged(at);
        beginInsertRows({}, at + 1, at + 1);
        endInsertRows();
    }
    return true;
}

void GoodsTable::Cancel()
{
    if (openRow_ < 0)
        return;
    const int at = openRow_;
    openRow_ = -1;
    rowChanged(at);
}

bool GoodsTable::Append(const QString& name, const QString& rate)
{
    Cancel();
    open(RecordCount());
    setField(buffer_, kNameColumn, name);
    setField(buffer_, kRateColumn, rate);
    rowChanged(openRow_);
    return Post();
}

void GoodsTable::Delete(int row)
{
    Cancel();
    if (row < 0 || row >= RecordCount())
        return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void GoodsTable::Clear()
{
    beginResetModel();
    rows_.clear();
    openRow_ = -1;
    endResetModel();
}

bool GoodsTable::Load(std::vector<GoodsRow> rows)
{
    std::size_t stored = 0;
    std::exception_ptr failure;
    try {
        for (; stored < rows.size(); ++stored) {
            GoodsRow& row = rows[stored];
            setField(row, kNameColumn, row.name);
            setField(row, kRateColumn, row.rate);
            if (!passesChecks(row))
                break;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    const bool complete = stored == rows.size();
    rows.resize(stored);
    // One reset, not a row at a time: a grid told of every row on its own
    // lays itself out again for each.
    beginResetModel();
    rows_ = std::move(rows);
    openRow_ = -1;
    endResetModel();
    if (failure)
        std::rethrow_exception(failure);
    return complete;
}

int GoodsTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RecordCount() + 1;
}

int GoodsTable::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant GoodsTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const int row = index.row();
    const GoodsRow* shown = row == openRow_        ? &buffer_
                            : row < RecordCount() ? &rows_[static_cast<std::size_t>(row)]
                                                  : nullptr;
    if (shown == nullptr)
        return QString();
    return index.column() == kNameColumn ? shown->name : shown->rate;
}

bool GoodsTable::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int row = index.row();
    if (openRow_ >= 0 && openRow_ != row)
        return false;  // the open row must be posted or abandoned first
    if (openRow_ < 0) {
        const QString text = value.toString();
        // An untouched empty line stays what it is.
        if (row == RecordCount() && text.isEmpty())
            return false;
        open(row);
    }
    setField(buffer_, index.column(), value.toString());
    rowChanged(row);
    return true;
}

Qt::ItemFlags GoodsTable::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant GoodsTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < 2 ? QString::fromLatin1(kFieldNames[section]) : QVariant();
    // The row indicator: the row being typed, and the line for a new row.
    if (section == openRow_)
        return QStringLiteral("✎");
    if (section == RecordCount())
        return QStringLiteral("*");
    return section + 1;
}

}  // namespace varmo
