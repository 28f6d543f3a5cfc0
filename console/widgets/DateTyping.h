#pragma once
// A date typed after a click replaces the date. The technician clicks into a
// date field wherever his mouse lands (at its start, in the year, past its
// end) and types the eight digits of the date: they give that date, as they
// do when the whole year is selected, and Tab then leaves the field.
//
// A run of digits is what is typed between two other keys, clicks or
// changes of focus. A run that starts over a selection, or at the field's
// very start, goes in as it always did.
#include <QDateEdit>

class QLineEdit;

namespace varmo {

// For a masked field that starts with a date, 20YY-MM-DD (the report dates
// and the clock): a run started anywhere else in the date, or past the end,
// starts at the field's start instead. timeAt, where the field has a time
// after the date: the place of the hour's first digit (counted from 0). A
// run started in the time edits the time; when it comes to eight digits
// beginning with 20, they were a date after all: they become the date, and
// the time is put back as it was.
void TypeDatesFromTheStart(QLineEdit* edit, int timeAt = -1);

// The date field of the inspection date: a run started without a whole part
// (year, month or day) selected starts in the year, and Tab leaves the field
// rather than going on to its next part.
class DateField : public QDateEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    // Clicks land on the text inside: each ends a run.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool typing_ = false;  // inside a run of digits
};

}  // namespace varmo
