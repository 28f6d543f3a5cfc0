#include "console/widgets/LateBuiltDialog.h"

namespace varmo {

LateBuiltDialog::LateBuiltDialog(QWidget* parent) : QDialog(parent) {}

void LateBuiltDialog::EnsureBuilt()
{
    if (built_)
        return;
    // Marked first: a control made here that shows the form must not start
    // the making again.
    built_ = true;
    BuildControls();
}

void LateBuiltDialog::setVisible(bool visible)
{
    if (visible)
        EnsureBuilt();
    QDialog::setVisible(visible);
}

void LateBuiltDialog::BuildNowOr(FormBuild when)
{
    if (when == FormBuild::Now)
        EnsureBuilt();
}

}  // namespace varmo
