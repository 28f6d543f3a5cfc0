#include "console/DialogPlacement.h"

#include <QDialog>
#include <QVariant>

namespace varmo {

namespace {

constexpr const char* kLeftAt = "varmoLeftAt";

}  // namespace

int ExecWhereLeft(QDialog& dialog)
{
    const QVariant leftAt = dialog.property(kLeftAt);
    if (leftAt.isValid())
        dialog.move(leftAt.toPoint());
    const int result = dialog.exec();
    // The outer frame's corner, the same point move() takes.
    dialog.setProperty(kLeftAt, dialog.frameGeometry().topLeft());
    return result;
}

}  // namespace varmo
