#include "console/widgets/Views.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

#include "console/base/Text.h"

namespace varmo {

void ShowText(QPlainTextEdit* view, const QString& text)
{
    // Replaced in one edit, never by way of an empty view: the scroll bars
    // change only when the new text's size does, and an answer of the same
    // shape as the last repaints the text and nothing around it.
    QTextCursor all(view->document());
    all.select(QTextCursor::Document);
    all.insertText(text);
    view->moveCursor(QTextCursor::Start);
    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(0);
}

void ShowLines(QPlainTextEdit* view, const Lines& lines)
{
    ShowText(view, LinesText(lines));
}

}  // namespace varmo
