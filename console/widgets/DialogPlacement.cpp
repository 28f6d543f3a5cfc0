#include "console/widgets/DialogPlacement.h"

#include <QDialog>
#include <QVariant>
#include <algorithm>

#include "console/base/CaptionWidth.h"

namespace varmo {

namespace {

constexpr const char* kLeftAt = "varmoLeftAt";

}  // namespace

int ExecWhereLeft(QDialog& dialog)
{
    // The client area, not the frame: before the window is mapped again the
    // frame is unknown, and a frame corner would be taken for the client's.
    const QVariant leftAt = dialog.property(kLeftAt);
    if (leftAt.isValid())
        dialog.setGeometry(leftAt.toRect());
    const int result = dialog.exec();
    dialog.setProperty(kLeftAt, dialog.geometry());
    return result;
}

void KeepCaptionVisible(QDialog& dialog)
{
    dialog.setMinimumWidth(std::max(dialog.minimumWidth(), CaptionWidth(dialog, dialog.windowTitle())));
}

}  // namespace varmo
