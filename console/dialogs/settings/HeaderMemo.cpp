#include "console/dialogs/settings/HeaderMemo.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace varmo {

HeaderMemo::HeaderMemo(const QStringList& buttonCaptions, QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    for (const QString& caption : buttonCaptions) {
        auto* button = new QPushButton(caption, this);
        button->setFocusPolicy(Qt::NoFocus);
        buttons_.push_back(button);
    }
    // Scrolling, typing and a new font all move the lines.
    connect(this, &QPlainTextEdit::updateRequest, this, [this] { placeButtons(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeButtons(); });
    placeButtons();
}

QRect HeaderMemo::LineRect(int line) const
{
    // Without wrapping every line is one block of the same height.
    const QTextBlock first = document()->firstBlock();
    const QRectF firstRect = blockBoundingGeometry(first).translated(contentOffset());
    const qreal height = firstRect.height() > 0 ? firstRect.height() : fontMetrics().lineSpacing();
    const QPoint origin = viewport()->geometry().topLeft();
    return QRectF(0, firstRect.top() + line * height, viewport()->width(), height)
        .toAlignedRect()
        .translated(origin);
}

void HeaderMemo::placeButtons()
{
    const int side = fontMetrics().lineSpacing();
    const int width = std::max(side, fontMetrics().horizontalAdvance(QLatin1Char('W')) + 8);
    // The margin holds the buttons, the viewport the text.
    if (viewportMargins().left() != width + 2)
        setViewportMargins(width + 2, 0, 0, 0);
    const QRect view = viewport()->geometry();
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const QRect line = LineRect(static_cast<int>(i));
        QPushButton* button = buttons_[i];
        button->setGeometry(view.left() - width - 1, line.top(), width, line.height());
        // A line scrolled out of sight takes its button along.
        button->setVisible(line.top() >= view.top() && line.bottom() <= view.bottom());
    }
}

void HeaderMemo::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    placeButtons();
}

void HeaderMemo::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeButtons();
}

}  // namespace varmo
