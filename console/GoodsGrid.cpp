#include "console/GoodsGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QShortcut>

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
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, &GoodsGrid::DeleteRequested);
}

void GoodsGrid::CommitEditor()
{
    if (QWidget* editor = indexWidget(currentIndex()))
        commitData(editor);
}

void GoodsGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
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
