#include "console/dialogs/reports/GoodsGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace varmo {

GoodsGrid::GoodsGrid(QWidget* parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

namespace {

bool isDeleteRecord(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Delete && (key->modifiers() & Qt::ControlModifier);
}

}  // namespace

bool GoodsGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool editing = QTableView::edit(index, trigger, event);
    if (editing) {
        if (QWidget* editor = indexWidget(index))
            editor->installEventFilter(this);
    }
    return editing;
}

bool GoodsGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isDeleteRecord(key)) {
            if (event->type() == QEvent::KeyPress)
                emit DeleteRequested();
            event->accept();
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void GoodsGrid::CommitEditor()
{
    if (QWidget* editor = indexWidget(currentIndex()))
        commitData(editor);
}

void GoodsGrid::DiscardEditor()
{
    if (QWidget* editor = indexWidget(currentIndex()))
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void GoodsGrid::keyPressEvent(QKeyEvent* event)
{
    if (isDeleteRecord(event) ||
        (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState)) {
        emit DeleteRequested();
        return;
    }
    if (event->key() == Qt::Key_Down && model() != nullptr &&
        currentIndex().row() == model()->rowCount() - 1) {
        emit LeaveLastRow();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace varmo
