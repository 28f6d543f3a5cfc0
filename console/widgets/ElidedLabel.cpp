#include "console/widgets/ElidedLabel.h"

#include <QPainter>
#include <QStyle>

namespace varmo {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidedLabel::SetWholeText(const QString& text)
{
    if (QLabel::text() == text)
        return;
    setText(text);
    setToolTip(text);
}

QString ElidedLabel::ShownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()) | Qt::TextSingleLine,
                          palette(), isEnabled(), ShownText(), foregroundRole());
}

// Any width will do: what does not fit ends in "…".
QSize ElidedLabel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

}  // namespace varmo
