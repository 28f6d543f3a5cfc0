#pragma once
// Shows a dialog modally where the operator last left it. Each dialog lives
// for the whole run; without this the window system may put it back a title
// bar's height lower at every showing.
class QDialog;

namespace varmo {

int ExecWhereLeft(QDialog& dialog);

// A dialog at least as wide as its caption needs, with room for the window's
// own buttons, so that the title bar does not cut the caption short.
void KeepCaptionVisible(QDialog& dialog);

}  // namespace varmo
