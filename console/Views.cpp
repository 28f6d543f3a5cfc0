#include "console/Views.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

#include "console/Text.h"

namespace varmo {

void ShowText(QPlainTextEdit* view, const QString& text)
{
    view->setPlainText(text);
    view->moveCursor(QTextCursor::Start);
    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(0);
}

void ShowLines(QPlainTextEdit* view, const Lines& lines)
{
    ShowText(view, LinesText(lines));
}

}  // namespace varmo
