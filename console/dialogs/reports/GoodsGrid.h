#pragma once
// The editable grid of the goods list: titles, a row indicator, resizable
// columns, the in-place editor opened as soon as a cell becomes current, and
// Ctrl+Delete (or Delete outside the editor) to delete the current row;
// Down on the last line finishes the row typed there.
#include <QTableView>

namespace varmo {

class GoodsGrid : public QTableView {
    Q_OBJECT
public:
    explicit GoodsGrid(QWidget* parent = nullptr);
    using QTableView::edit;

    // Hands what the open editor holds to the table, as leaving the cell
    // would.
    void CommitEditor();
    // Closes the open editor and drops what it holds (its row is going).
    void DiscardEditor();

signals:
    void DeleteRequested();
    // Down on the last line: the row typed there is done.
    void LeaveLastRow();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Ctrl+Delete reaches the grid also from inside the cell's editor, which
    // would otherwise take it for deleting a word.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace varmo
