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

    // Hands what the open editor holds to the table, as leaving the cell
    // would.
    void CommitEditor();

signals:
    void DeleteRequested();
    // Down on the last line: the row typed there is done.
    void LeaveLastRow();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace varmo
