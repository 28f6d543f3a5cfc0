#include "console/widgets/RadioGroup.h"

#include <QVBoxLayout>

namespace varmo {

RadioGroup::RadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent), items_(items)
{
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items_.size(); ++i) {
        auto* button = new QRadioButton(items_.at(i), this);
        buttons_.addButton(button, i);
        layout->addWidget(button);
    }
    connect(&buttons_, &QButtonGroup::idClicked, this, &RadioGroup::ItemChosen);
}

int RadioGroup::ItemIndex() const { return buttons_.checkedId(); }

void RadioGroup::SetItemIndex(int index)
{
    if (QRadioButton* button = Button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    if (QAbstractButton* checked = buttons_.checkedButton()) {
        buttons_.setExclusive(false);
        checked->setChecked(false);
        buttons_.setExclusive(true);
    }
}

QRadioButton* RadioGroup::Button(int index) const
{
    return qobject_cast<QRadioButton*>(buttons_.button(index));
}

}  // namespace varmo
