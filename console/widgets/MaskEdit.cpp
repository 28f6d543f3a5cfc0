#include "console/widgets/MaskEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "console/widgets/FixedDigits.h"
#include "console/base/HandlerGuard.h"
#include "protocol/Exception.h"

namespace varmo {

MaskEdit::MaskEdit(const QString& inputMask, QWidget* parent) : QLineEdit(parent)
{
    setInputMask(inputMask);
    StepOverFixedDigits(this);
}

void MaskEdit::SetBaseText(const QString& text)
{
    setText(text);
    textBeforeEdit_ = this->text();
}

QString MaskEdit::MaskedText() const
{
    // The display shows '_' in every free position that is not filled; only
    // digits can be typed, so every '_' is a blank.
    QString text = displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

bool MaskEdit::ValidateEdit()
{
    if (!isModified() || hasAcceptableInput())
        return true;
    if (!reported_) {
        reported_ = true;
        ShowStandardError(Exception(InvalidInputMessage().toStdString()));
    }
    // Back to the field once whatever took the focus has let go.
    QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
    return false;
}

void MaskEdit::focusInEvent(QFocusEvent* event)
{
    reported_ = false;
    if (!isModified())
        textBeforeEdit_ = text();
    QLineEdit::focusInEvent(event);
}

void MaskEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A message box of our own takes the focus too: no second complaint then.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        ValidateEdit();
}

void MaskEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && isModified()) {
        setText(textBeforeEdit_);
        setModified(false);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace varmo
