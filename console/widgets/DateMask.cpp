#include "console/widgets/DateMask.h"

#include <QLineEdit>

#include "console/widgets/DateTyping.h"
#include "console/widgets/TypedNumber.h"

namespace varmo {

namespace {

// Qt's '0' is a digit that may stay unfilled; "\\0" is the literal zero of
// "20". Unfilled places show as '_' and read as blanks.
const QString kMask = QStringLiteral("2\\000-00-00;_");

}  // namespace

void SetDateMask(QLineEdit* edit)
{
    edit->setInputMask(kMask);
    edit->clear();
    TypeDatesAsWritten(edit);
}

QString MaskedDateText(const QLineEdit* edit)
{
    QString text = edit->displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

std::int32_t DatePiece(const QLineEdit* edit, int position)
{
    return TypedInteger(MaskedDateText(edit).mid(position - 1, 2));
}

}  // namespace varmo
