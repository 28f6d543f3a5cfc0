#include "console/dialogs/settings/TFSetDate.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "commands/DescriptionText.h"
#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "console/dialogs/FarClockQuestion.h"
#include "console/dialogs/settings/DirectRead.h"
#include "console/widgets/DateTyping.h"
#include "console/widgets/WrittenDate.h"
#include "console/base/Prompts.h"
#include "console/widgets/DialogPlacement.h"
#include "console/dialogs/MainServices.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/MaskEdit.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Text.h"
#include "console/widgets/DialogButtons.h"
#include "exchange/FarClock.h"
#include "exchange/MinuteTurn.h"
#include "exchange/PrinterExchange.h"
#include "protocol/Exception.h"
#include "protocol/Fields.h"

namespace varmo {

namespace {

// 20YY-MM-DD, three blanks, HH:MM. Every digit may stay blank but the first of
// the hour; the 20 and the separators are fixed.
const QString kClockMask = QStringLiteral("2\\000-00-00   90:00;_");

// Month, day, hour, minute and year: where each two-digit piece stands
// (counted from 1), in the order they are converted.
constexpr int kMonthAt = 6, kDayAt = 9, kHourAt = 14, kMinuteAt = 17, kYearAt = 3;

std::int32_t piece(const QString& text, int at)
{
    const std::string digits = ToCp1250(text.mid(at - 1, 2));
    std::int32_t value = 0;
    if (!ParseInteger(digits, value))
        throw EConvertError("'" + digits + "' is not a valid integer value");
    return value;
}

}  // namespace

TFSetDate::TFSetDate(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Ustawienie zegara"));
    setObjectName(QStringLiteral("FSetDate"));
    BuildNowOr(when);
}

void TFSetDate::BuildControls()
{
    ME = new MaskEdit(kClockMask, this);
    // A date typed after a click replaces the date; the hour's place
    // counted from 0, where typing edits the time instead.
    TypeDatesAsWritten(ME, kHourAt - 1);
    // Room for 18 characters in the field's own font.
    ME->setMinimumWidth(ME->fontMetrics().horizontalAdvance(QString(18, QLatin1Char('0'))) + 16);
    SpeedButton1 = new QPushButton(QStringLiteral("Odczytaj"), this);
    BBOK = new QPushButton(QStringLiteral("Ustaw"), this);
    BBOK->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("Anuluj"), this);
    LbCountdown = new QLabel(this);
    LbCountdown->setMinimumWidth(LbCountdown->fontMetrics().horizontalAdvance(
        QStringLiteral("Zegar zostanie ustawiony o 00:00:00, za 60 s")));
    LbCountdown->hide();
    BBStop = new QPushButton(QStringLiteral("Przerwij"), this);
    BBStop->hide();
    countdown_ = new QTimer(this);
    countdown_->setTimerType(Qt::PreciseTimer);
    countdown_->setInterval(50);
    connect(countdown_, &QTimer::timeout, this, [this] { Guarded([&] { tick(); }); });

    auto* field = new QHBoxLayout;
    field->addWidget(ME, 1);
    field->addWidget(SpeedButton1);
    auto* buttons = DialogButtonRow({BBOK, BBCancel});
    auto* waiting = new QHBoxLayout;
    waiting->addWidget(LbCountdown, 1);
    waiting->addWidget(BBStop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addLayout(waiting);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(SpeedButton1, &QPushButton::clicked, this, &TFSetDate::SpeedButton1Click);
    connect(BBOK, &QPushButton::clicked, this, [this] {
        // The field keeps the focus while its hour is missing: no click then.
        if (!ME->ValidateEdit())
            return;
        // The computer's own time: set to the second at the turn of the minute.
        if (!shownTime_.isEmpty() && ME->MaskedText() == shownTime_) {
            Guarded([&] {
                if (computerClockTrusted())
                    startCountdown();
            });
            return;
        }
        BBOKClick();
        if (!dateRefused_)
            accept();
    });
    connect(BBCancel, &QPushButton::clicked, this, &TFSetDate::BBCancelClick);
    connect(BBStop, &QPushButton::clicked, this, &TFSetDate::BBStopClick);

    KeepCaptionVisible(*this);
    NameControls({{ME, "ME"},
                  {SpeedButton1, "SpeedButton1"},
                  {BBOK, "BBOK"},
                  {BBCancel, "BBCancel"},
                  {LbCountdown, "LbCountdown"},
                  {BBStop, "BBStop"}});
}

void TFSetDate::FormShow()
{
    Guarded([&] {
        BBStopClick();
        ME->SetBaseText(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd   HH:mm")));
        shownTime_ = ME->MaskedText();
    });
}

void TFSetDate::SpeedButton1Click()
{
    Guarded([&] {
        TCmdReadClock read;
        DirectRead(
            main_, read,
            [&] {
                const std::string text = std::to_string(read.Year() + 2000) + "-" +
                                         TwoDigits(read.Month(), 12) + "-" +
                                         TwoDigits(read.Day(), 31) + "   " +
                                         TwoDigits(read.Hour(), 24) + ":" +
                                         TwoDigits(read.Minute(), 60);
                ME->SetBaseText(FromCp1250(text));
            },
            QStringLiteral("Nie udało się odczytać daty"), QStringLiteral("Odczyt daty"));
    });
}

void TFSetDate::BBOKClick()
{
    dateRefused_ = false;
    Guarded([&] {
        const QString text = ME->MaskedText();
        const std::int32_t month = piece(text, kMonthAt);
        const std::int32_t day = piece(text, kDayAt);
        const std::int32_t hour = piece(text, kHourAt);
        const std::int32_t minute = piece(text, kMinuteAt);
        const std::int32_t year = piece(text, kYearAt);
        // A day that no calendar has goes nowhere; the dialog stays for it.
        dateRefused_ = !IsRealDate(year, month, day);
        if (dateRefused_) {
            CurrentPrompts().message(QStringLiteral("Nieproprawna data"),
                                     QStringLiteral("Błąd edycji"));
            return;
        }
        main_.SubmitCommand(std::make_unique<TCmdSetClock>(year, month, day, hour, minute));
    });
}

void TFSetDate::BBCancelClick()
{
    reject();
}

// The printer's clock read first: far from the computer's, the operator
// sees both and decides. A printer that does not answer now is told so when
// the clock goes out, as before.
bool TFSetDate::computerClockTrusted()
{
    if (main_.Printer().Busy() || !main_.EnsurePortOpen())
        return false;
    const std::optional<ClockReading> reading = ReadPrinterClock(main_.Printer(), PrinterExchange::kDirectReadWaitMs);
    return !reading || !ClockTooFar(reading->Difference()) ||
           OperatorTrustsComputerClock(*reading, windowTitle());
}

bool TFSetDate::CountingDown() const
{
    return countdown_ != nullptr && countdown_->isActive();
}

void TFSetDate::startCountdown()
{
    turn_ = NextMinuteTurn(QDateTime::currentDateTime());
    for (QWidget* control : std::initializer_list<QWidget*>{ME, SpeedButton1, BBOK})
        control->setEnabled(false);
    LbCountdown->show();
    BBStop->show();
    countdown_->start();
    tick();
    // The dialog grows to the countdown line.
    layout()->activate();
    adjustSize();
}

void TFSetDate::tick()
{
    const qint64 left = MsUntil(turn_);
    if (left > 0) {
        LbCountdown->setText(QStringLiteral("Zegar zostanie ustawiony o %1, za %2 s")
                                 .arg(turn_.toString(QStringLiteral("HH:mm:ss")))
                                 .arg((left + 999) / 1000));
        return;
    }
    BBStopClick();
    const QDate date = turn_.date();
    const QTime time = turn_.time();
    main_.SubmitCommand(std::make_unique<TCmdSetClock>(date.year() - 2000, date.month(),
                                                       date.day(), time.hour(), time.minute()));
    main_.SendCurrentCommand();
    accept();
}

void TFSetDate::BBStopClick()
{
    if (countdown_ == nullptr)
        return;
    countdown_->stop();
    LbCountdown->hide();
    BBStop->hide();
    for (QWidget* control : std::initializer_list<QWidget*>{ME, SpeedButton1, BBOK})
        control->setEnabled(true);
}

void TFSetDate::done(int result)
{
    // Closed while waiting: nothing goes out.
    BBStopClick();
    LateBuiltDialog::done(result);
}

void TFSetDate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

}  // namespace varmo
