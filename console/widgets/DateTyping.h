#pragma once
// A date typed after a click replaces the date. The technician clicks into a
// date field wherever his mouse lands (at its start, in the year, past its
// end), or selects it all, and types the date as he writes it
// ("2026-12-09 08:30", "09.12.2026", the digits alone; WrittenDate.h): it
// gives that date, and Tab then leaves the field.
//
// A run is what is typed between two other keys, clicks or changes of
// focus; it begins with a digit.
#include <QDateEdit>

class QLineEdit;

namespace varmo {

// For a masked field that starts with a date, 20YY-MM-DD (the report dates
// and the clock): a run started anywhere in the date, or past the end, is
// the date from its start; what was selected when it began is emptied, the
// rest stays until typed over. timeAt, where the field has a time after the
// date: the place of the hour's first digit (counted from 0). A run started
// in the time is the time from the part it began in, unless it shows itself
// a date: then it is the date, and the time stays as it was. Begun on a
// digit clicked (nothing selected), digits that fit in the rest of its part
// replace those digits alone and leave the others as they were; one more,
// or a separator, and the run is read as above.
void TypeDatesAsWritten(QLineEdit* edit, int timeAt = -1);

// The date field of the inspection date: a run started without a whole part
// (year, month or day) selected starts in the year, a date written with its
// separators gives that date once it is whole (an impossible one is refused
// in words), and Tab leaves the field rather than going on to its next part.
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
    // A written date: the run is read as a whole once a separator comes.
    bool takeWritten(const QString& key);

    bool typing_ = false;  // inside a run
    QString written_;      // what the run typed so far
};

}  // namespace varmo
