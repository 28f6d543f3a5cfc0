#include "console/widgets/DialogButtons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace varmo {

QHBoxLayout* DialogButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

}  // namespace varmo
