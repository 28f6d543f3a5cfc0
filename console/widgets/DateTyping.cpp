#include "console/widgets/DateTyping.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "console/base/Prompts.h"
#include "console/widgets/WrittenDate.h"

namespace varmo {

namespace {

// 20YY-MM-DD: the year's own digits at 2, the month at 5, the day at 8.
constexpr int kDatePlaces[] = {2, 5, 8};

// A character typed as text, with no Ctrl or Alt to make it a shortcut.
QChar typedChar(const QKeyEvent& key)
{
    const QString text = key.text();
    if (text.size() != 1 || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return {};
    return text.at(0);
}

void refuseImpossible()
{
    CurrentPrompts().message(QStringLiteral("Nieproprawna data"), QStringLiteral("Błąd edycji"));
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
    int placeOf(DatePart part) const
    {
        switch (part) {
        case DatePart::Hour:
            return timeAt_;
        case DatePart::Minute:
            return timeAt_ < 0 ? -1 : timeAt_ + 3;
        default:
            return kDatePlaces[static_cast<int>(part)];
        }
    }

    bool typed(const QKeyEvent& key)
    {
        const QChar c = typedChar(key);
        if (edit_->isReadOnly() || !edit_->isEnabled() || c.isNull() || !IsWrittenDateChar(c) ||
            (!running_ && !c.isDigit())) {
            running_ = false;
            return false;
        }
        if (!running_)
            start();
        typed_ += c;
        if (overwrites())
            showOverwritten();
        else
            show(ReadWrittenDate(typed_, from_));
        return true;
    }

    // A digit's place in the field: one of its digits or blanks, never the fixed 20.
    bool digitPlace(int place) const
    {
        return place >= 2 && place < base_.size() &&
               (base_.at(place).isDigit() || base_.at(place) == QLatin1Char('_'));
    }

    // Digits typed over a digit clicked, no more than its part has left
    // from there: they replace those digits alone ("19", its first digit
    // clicked, "2" typed: "29"). One more, or a separator, and the run is
    // read as a date or time written from where it began.
    bool overwrites() const
    {
        if (overwriteAt_ < 0)
            return false;
        int left = 0;
        while (digitPlace(overwriteAt_ + left))
            ++left;
        for (const QChar c : typed_)
            if (!c.isDigit())
                return false;
        return typed_.size() <= left;
    }

    void showOverwritten()
    {
        QString text = base_;
        for (int i = 0; i < typed_.size(); ++i)
            text[overwriteAt_ + i] = typed_.at(i);
        edit_->setText(text);
        edit_->setModified(true);
        edit_->setCursorPosition(overwriteAt_ + static_cast<int>(typed_.size()));
    }

    void start()
    {
        running_ = true;
        typed_.clear();
        base_ = edit_->displayText();
        const int at = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
        overwriteAt_ = !edit_->hasSelectedText() && digitPlace(at) ? at : -1;
        if (edit_->hasSelectedText())
            for (int i = edit_->selectionStart(); i < edit_->selectionEnd(); ++i)
                if (base_.at(i).isDigit() && i >= 2)  // never the fixed 20
                    base_[i] = QLatin1Char('_');
        from_ = DatePart::Year;
        if (timeAt_ >= 0 && at >= timeAt_ && at < base_.size())
            from_ = at >= timeAt_ + 3 ? DatePart::Minute : DatePart::Hour;
    }

    void show(const std::array<QString, kDateParts>& parts)
    {
        QString text = base_;
        int end = -1;
        for (std::size_t part = 0; part < kDateParts; ++part) {
            const int place = placeOf(static_cast<DatePart>(part));
            if (parts[part].isEmpty() || place < 0 || place + 2 > text.size())
                continue;
            for (int i = 0; i < 2; ++i) {
                const QChar digit = parts[part].at(i);
                text[place + i] = digit == QLatin1Char(' ') ? QLatin1Char('_') : digit;
                if (digit != QLatin1Char(' '))
                    end = std::max(end, place + i + 1);
            }
        }
        // The blanks as the field shows them: its setText reads '_' as one.
        edit_->setText(text);
        edit_->setModified(true);
        if (end >= 0)
            edit_->setCursorPosition(end);
    }

    QLineEdit* edit_;
    int timeAt_;
    bool running_ = false;
    int overwriteAt_ = -1;  // the digit clicked, where the run began on one
    DatePart from_ = DatePart::Year;
    QString typed_;  // since the run began
    QString base_;   // the field's text then, what was selected emptied
};

}  // namespace

void TypeDatesAsWritten(QLineEdit* edit, int timeAt)
{
    // Installed after the fixed digits' filter, so it sees each key first.
    edit->installEventFilter(new DateRun(edit, timeAt));
}

DateField::DateField(QWidget* parent) : QDateEdit(parent)
{
    lineEdit()->installEventFilter(this);
}

bool DateField::takeWritten(const QString& key)
{
    written_ += key;
    bool separated = false;
    for (const QChar c : written_)
        separated = separated || IsDateSeparator(c);
    // Digits alone go into the parts as they always did.
    if (!separated)
        return false;
    const auto parts = ReadWrittenDate(written_);
    const QString& year = parts[0];
    const QString& month = parts[1];
    const QString& day = parts[2];
    const bool whole = year.size() == 2 && month.size() == 2 && day.size() == 2 &&
                       !(year + month + day).contains(QLatin1Char(' '));
    if (!whole)
        return true;
    if (!IsRealDate(year.toInt(), month.toInt(), day.toInt())) {
        typing_ = false;
        refuseImpossible();
        return true;
    }
    setDate(QDate(2000 + year.toInt(), month.toInt(), day.toInt()));
    return true;
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    const QChar c = typedChar(*event);
    if (c.isNull() || !IsWrittenDateChar(c) || (!typing_ && !c.isDigit())) {
        typing_ = false;
        QDateEdit::keyPressEvent(event);
        return;
    }
    if (!typing_) {
        const bool wholePart = lineEdit()->hasSelectedText() &&
                               lineEdit()->selectedText() == sectionText(currentSection());
        if (!wholePart && !(lineEdit()->selectedText() == lineEdit()->text()))
            setSelectedSection(QDateTimeEdit::YearSection);
        typing_ = true;
        written_.clear();
    }
    if (takeWritten(c))
        event->accept();
    else
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
