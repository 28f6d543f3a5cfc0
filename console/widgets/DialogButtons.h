#pragma once
// The row of buttons at the foot of a dialog, kept to the right.
#include <initializer_list>

class QHBoxLayout;
class QPushButton;

namespace varmo {

QHBoxLayout* DialogButtonRow(std::initializer_list<QPushButton*> buttons);

}  // namespace varmo
