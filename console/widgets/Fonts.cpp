#include "console/widgets/Fonts.h"

#include <QFontDatabase>

namespace varmo {

QFont FrameFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

}  // namespace varmo
