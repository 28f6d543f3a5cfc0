#pragma once
// The goods list of the database report: rows of a name (up to 20
// characters) and a rate letter, both required. One row at a time is open
// for editing (an existing row, or a new one typed into the empty line at the
// end); it joins the list only when it is posted, which checks it first.
#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <vector>

namespace varmo {

struct GoodsRow {
    QString name;  // "Nazwa"
    QString rate;  // "Ptu"

    bool operator==(const GoodsRow&) const = default;
};

class GoodsTable : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kNameColumn = 0;
    static constexpr int kRateColumn = 1;
    static constexpr int kNameWidth = 20;
    static constexpr int kRateWidth = 1;

    explicit GoodsTable(QObject* parent = nullptr);

    // The check a row must pass before it is stored, after the required
    // fields; it may change the row (the rate goes upper case) and says
    // false to abandon the post (it has told the operator why).
    std::function<bool(GoodsRow&)> BeforePost;

    // The stored rows, in order; the open row is not among them until posted.
    const std::vector<GoodsRow>& Rows() const { return rows_; }
    int RecordCount() const { return static_cast<int>(rows_.size()); }

    // The open row: -1 when none; RecordCount() for a new row.
    int OpenRow() const { return openRow_; }
    bool IsInserting() const { return openRow_ == RecordCount(); }
    // An open row whose fields differ from what it was opened with.
    bool Modified() const;

    // Stores the open row. Exception "Field '...' must have a value" for an
    // empty field; false when BeforePost refused; the row stays open either
    // way. True with no open row.
    bool Post();
    // Abandons the open row's changes.
    void Cancel();

    // Opens a new row with these fields and posts it.
    bool Append(const QString& name, const QString& rate);
    // Removes a stored row (an open one is abandoned first).
    void Delete(int row);
    // Removes every row.
    void Clear();
    // Replaces every row by these, in their order, each checked and cut as a
    // post does; the grid hears of it once, however long the list. The first
    // row that fails stops the load there, with the rows before it stored and
    // none open: its exception goes on, or false when BeforePost refused it.
    bool Load(std::vector<GoodsRow> rows);

    // The model's side of the grid: the stored rows, then one line for a
    // new row.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void open(int row);
    // The checks of a post on a row about to be stored, which they may change.
    bool passesChecks(GoodsRow& row) const;
    void setField(GoodsRow& row, int column, const QString& text) const;
    void rowChanged(int row);

    std::vector<GoodsRow> rows_;
    int openRow_ = -1;
    GoodsRow buffer_;    // the open row's fields as typed
    GoodsRow original_;  // and as they were when it was opened
};

}  // namespace varmo
