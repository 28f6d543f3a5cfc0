#include "console/widgets/DateTyping.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace varmo {

namespace {

// 20YY-MM-DD: ten characters.
constexpr int kDateLength = 10;
constexpr int kDateDigits = 8;

// A digit typed as text, with no Ctrl or Alt to make it a shortcut.
bool typedDigit(const QKeyEvent& key)
{
    const QString text = key.text();
    return text.size() == 1 && text.at(0).isDigit() &&
           !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

class DateRun : public QObject {
public:
    DateRun(QLineEdit* edit, int timeAt) : QObject(edit), edit_(edit), timeAt_(timeAt) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != edit_)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            running_ = false;
            return false;
        case QEvent::KeyPress:
            return typed(*static_cast<QKeyEvent*>(event));
        default:
            return false;
        }
    }

private:
    bool typed(const QKeyEvent& key)
    {
        if (!typedDigit(key) || edit_->isReadOnly()) {
            running_ = false;
            return false;
        }
        if (!running_)
            start();
        if (!inTime_)
            return false;
        digits_ += key.text();
        if (digits_.size() < kDateDigits || !digits_.startsWith(QLatin1String("20")))
            return false;
        // Eight digits do not fit the time: a date, typed where the mouse
        // happened to land.
        QString text = edit_->displayText();
        text.replace(0, kDateLength, digits_.left(4) + QLatin1Char('-') + digits_.mid(4, 2) +
                                         QLatin1Char('-') + digits_.mid(6, 2));
        text.replace(timeAt_, timeBefore_.size(), timeBefore_);
        edit_->setText(text);
        edit_->setModified(true);
        edit_->setCursorPosition(kDateLength);
        running_ = false;
        return true;
    }

    void start()
    {
        running_ = true;
        inTime_ = false;
        digits_.clear();
        const int at = edit_->cursorPosition();
        if (edit_->hasSelectedText() || at == 0)
            return;  // goes in as it always did
        if (timeAt_ >= 0 && at >= timeAt_ && at < edit_->displayText().size()) {
            inTime_ = true;
            timeBefore_ = edit_->displayText().mid(timeAt_);
            return;
        }
        // The fixed 20 is stepped over from here (FixedDigits), so both the
        // whole year and its last two digits type the date.
        edit_->setCursorPosition(0);
    }

    QLineEdit* edit_;
    int timeAt_;
    bool running_ = false;
    bool inTime_ = false;     // the run started in the time
    QString digits_;          // typed in the time since the run started
    QString timeBefore_;      // the time as it was then, as displayed
};

}  // namespace

void TypeDatesFromTheStart(QLineEdit* edit, int timeAt)
{
    // Installed after the fixed digits' filter, so it sees each key first.
    edit->installEventFilter(new DateRun(edit, timeAt));
}

DateField::DateField(QWidget* parent) : QDateEdit(parent)
{
    lineEdit()->installEventFilter(this);
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    if (!typedDigit(*event)) {
        typing_ = false;
        QDateEdit::keyPressEvent(event);
        return;
    }
    if (!typing_) {
        const bool wholePart = lineEdit()->hasSelectedText() &&
                               lineEdit()->selectedText() == sectionText(currentSection());
        if (!wholePart)
            setSelectedSection(QDateTimeEdit::YearSection);
        typing_ = true;
    }
    QDateEdit::keyPressEvent(event);
}

bool DateField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && (event->type() == QEvent::MouseButtonPress ||
                                  event->type() == QEvent::MouseButtonDblClick))
        typing_ = false;
    return QDateEdit::eventFilter(watched, event);
}

void DateField::focusInEvent(QFocusEvent* event)
{
    typing_ = false;
    QDateEdit::focusInEvent(event);
}

bool DateField::focusNextPrevChild(bool next)
{
    // Past QDateTimeEdit, which would go on to the next part of the date.
    return QWidget::focusNextPrevChild(next);
}

}  // namespace varmo
