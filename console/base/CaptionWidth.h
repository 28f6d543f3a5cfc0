#pragma once
// How wide a window must be for the window system to show its whole caption:
// the caption in a bold font and room for the title bar's buttons.
#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace varmo {

inline int CaptionWidth(const QWidget& window, const QString& caption)
{
    QFont titleFont = window.font();
    titleFont.setBold(true);
    return QFontMetrics(titleFont).horizontalAdvance(caption) + 160;
}

}  // namespace varmo
