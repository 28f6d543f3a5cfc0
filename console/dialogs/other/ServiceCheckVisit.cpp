// The service check's visit part: the technician's name (kept between runs)
// and notes, what changed since the printer's last visit beside today's
// values, the next inspection, and "Popraw zegar" for a clock in red (asked
// first when the computer's clock is more than an hour from it). The
// check goes into the visit book as soon as it ends.
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "console/base/Text.h"
#include "book/Book.h"
#include "console/dialogs/ConsoleBook.h"
#include "console/dialogs/FarClockQuestion.h"
#include "console/dialogs/MainServices.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/widgets/ObjectNames.h"
#include "exchange/ClockAtMinute.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

namespace {

QString sinceHtml(const Lines& lines, const Lines& red)
{
    QStringList rows;
    for (const std::string& line : lines) {
        const bool isRed = std::find(red.begin(), red.end(), line) != red.end();
        rows << (isRed ? QStringLiteral("<span style=\"color:#ff0000\">%1</span>")
                       : QStringLiteral("%1"))
                    .arg(FromUtf8(line).toHtmlEscaped());
    }
    return rows.join(QStringLiteral("<br>"));
}

}  // namespace

void ServiceCheckDialog::buildVisitPart(QVBoxLayout* layout)
{
    Technik = Named(new QLineEdit(book::StoredTechnician(), this), "Technik");
    Uwagi = Named(new QLineEdit(this), "Uwagi");
    OdOstatniej = Named(new QLabel(this), "OdOstatniej");
    OdOstatniej->setTextFormat(Qt::RichText);
    OdOstatniej->setWordWrap(true);
    Przeglad = Named(new QLabel(this), "Przeglad");
    PoprawZegar = Named(new QPushButton(QStringLiteral("Popraw zegar"), this), "PoprawZegar");
    PoprawZegar->setEnabled(false);
    connect(PoprawZegar, &QPushButton::clicked, this, [this] { Guarded([&] { PoprawZegarClick(); }); });
    // The name and the notes go into the visit as they are typed; the
    // check is in it already and stays the one check.
    connect(Technik, &QLineEdit::editingFinished, this, [this] {
        Guarded([&] {
            book::StoreTechnician(Technik->text());
            if (result_)
                main_.Book().RecordPeople(Technik->text(), Uwagi->text());
        });
    });
    connect(Uwagi, &QLineEdit::editingFinished, this, [this] {
        Guarded([&] {
            if (result_)
                main_.Book().RecordPeople(Technik->text(), Uwagi->text());
        });
    });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Technik:"), Technik);
    form->addRow(QStringLiteral("Uwagi:"), Uwagi);
    form->addRow(QStringLiteral("Od ostatniej wizyty:"), OdOstatniej);
    form->addRow(QStringLiteral("Następny przegląd:"), Przeglad);
    form->addRow(QString(), PoprawZegar);
    layout->addLayout(form);
}

// The check into the visit; what changed since the last one on screen.
void ServiceCheckDialog::keepVisit()
{
    ConsoleBook& book = main_.Book();
    book::StoreTechnician(Technik->text());
    std::optional<book::SinceLastVisit> since =
        book.RecordCheck(*result_, Technik->text(), Uwagi->text());
    sinceLast_.clear();
    sinceLastRed_.clear();
    firstVisit_ = false;
    if (since) {
        sinceLast_ = since->Describe();
        sinceLastRed_ = since->Red();
        OdOstatniej->setText(sinceHtml(sinceLast_, sinceLastRed_));
    } else if (book.Problem().isEmpty() && !book.UniqueNumber().isEmpty()) {
        firstVisit_ = true;
        OdOstatniej->setText(QStringLiteral("pierwsza wizyta w księdze"));
    } else {
        OdOstatniej->setText(book.UniqueNumber().isEmpty() ? QStringLiteral("drukarka nieznana")
                                                           : book.Problem());
    }
    const std::optional<QDate> next = book.NextInspection();
    Przeglad->setText(next ? next->toString(Qt::ISODate) : QStringLiteral("nieznany"));
    PoprawZegar->setEnabled(result_->clockDifference &&
                            ClockNeedsCorrection(*result_->clockDifference));
}

VisitPart ServiceCheckDialog::visitPart() const
{
    VisitPart part;
    part.uniqueNumber = main_.Book().UniqueNumber().toStdString();
    part.technician = Technik->text().toStdString();
    part.notes = Uwagi->text().toStdString();
    part.sinceLast = sinceLast_;
    part.sinceLastRed = sinceLastRed_;
    part.firstVisit = firstVisit_;
    part.nextInspection = main_.Book().NextInspection();
    part.bookProblem = main_.Book().Problem().toStdString();
    return part;
}

void ServiceCheckDialog::PoprawZegarClick()
{
    if (!result_ || running_ || main_.Printer().Busy() || !main_.EnsurePortOpen())
        return;
    PoprawZegar->setEnabled(false);
    const std::optional<std::int64_t> before = result_->clockDifference;
    const ClockCorrection correction =
        SetClockAtTurnOfMinute(main_.Printer(), [](const ClockReading& reading) {
            return OperatorTrustsComputerClock(reading, QStringLiteral("Popraw zegar"));
        });
    if (correction.declined) {
        PoprawZegar->setEnabled(true);
        return;
    }
    if (!correction.taken) {
        PoprawZegar->setEnabled(true);
        CurrentPrompts().message(QStringLiteral("Zegar nie został ustawiony: ") + FromUtf8(correction.why),
                                 QStringLiteral("Popraw zegar"));
        return;
    }
    main_.Book().RecordSetting({QDateTime::currentDateTime(), QStringLiteral("Zegar"),
                                QStringLiteral("z zegara komputera o pełnej minucie"), before,
                                correction.offsetAfter});
    CurrentPrompts().message(
        correction.offsetAfter
            ? QStringLiteral("Zegar ustawiony; różnica teraz %1 s.").arg(*correction.offsetAfter)
            : QStringLiteral("Zegar ustawiony; nie udało się go odczytać ponownie."),
        QStringLiteral("Popraw zegar"));
}

}  // namespace varmo
