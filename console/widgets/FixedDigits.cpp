#include "console/widgets/FixedDigits.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace varmo {

namespace {

// The characters of a mask that stand for a place to type into.
const QString kTypedPlaces = QStringLiteral("AaNnXx90Dd#HhBb");
// Those that only change the case of what follows; they take no place.
const QString kCaseMarks = QStringLiteral("<>!");

// The fixed character of the mask at this place of the field's text, or a
// null character at a place the operator types into (or beyond the mask).
char16_t FixedCharAt(const QString& inputMask, int position)
{
    int place = 0;
    for (int i = 0; i < inputMask.size(); ++i) {
        QChar c = inputMask.at(i);
        if (c == QLatin1Char(';'))
            break;  // the blank character follows
        if (kCaseMarks.contains(c))
            continue;
        bool fixed = !kTypedPlaces.contains(c);
        if (c == QLatin1Char('\\') && i + 1 < inputMask.size()) {
            c = inputMask.at(++i);
            fixed = true;
        }
        if (place == position)
            return fixed ? c.unicode() : u'\0';
        ++place;
    }
    return u'\0';
}

class FixedDigitStep : public QObject {
public:
    explicit FixedDigitStep(QLineEdit* edit) : QObject(edit), edit_(edit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != edit_ || event->type() != QEvent::KeyPress)
            return false;
        const bool handled = typed(*static_cast<QKeyEvent*>(event));
        if (!handled)
            stepped_.clear();
        return handled;
    }

private:
    bool typed(const QKeyEvent& key)
    {
        const QString text = key.text();
        if (edit_->isReadOnly() || !edit_->isEnabled() || text.size() != 1 ||
            !text.at(0).isDigit() || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        // The field never rests on a fixed place: after a step the cursor
        // waits at the next free one, and the place stepped to is kept here.
        const bool afterStep = !stepped_.isEmpty() && !edit_->hasSelectedText() &&
                               edit_->cursorPosition() == landedAt_;
        if (!afterStep)
            stepped_.clear();
        const int at = afterStep                 ? steppedTo_
                       : edit_->hasSelectedText() ? edit_->selectionStart()
                                                  : edit_->cursorPosition();
        const char16_t fixed = FixedCharAt(edit_->inputMask(), at);
        if (fixed == text.at(0).unicode()) {
            // What was selected goes, as typing over it would take it away.
            if (edit_->hasSelectedText())
                edit_->del();
            edit_->setCursorPosition(at + 1);
            stepped_ += text;
            steppedTo_ = at + 1;
            landedAt_ = edit_->cursorPosition();
            return true;
        }
        if (!afterStep || fixed == u'\0')
            return false;
        // "2" then "6" over the fixed "20": the 2 was the year's own digit.
        edit_->insert(stepped_ + text);
        stepped_.clear();
        return true;
    }

    QLineEdit* edit_;
    QString stepped_;  // the digits stepped over since the last other key
    int steppedTo_ = 0;
    int landedAt_ = 0;
};

}  // namespace

void StepOverFixedDigits(QLineEdit* edit)
{
    edit->installEventFilter(new FixedDigitStep(edit));
}

}  // namespace varmo
