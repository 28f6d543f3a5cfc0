#include "console/dialogs/settings/TFSetRates.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/DescriptionText.h"
#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "console/dialogs/settings/DirectRead.h"
#include "console/widgets/DialogPlacement.h"
#include "console/dialogs/MainServices.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Text.h"
#include "protocol/Exception.h"

namespace varmo {

namespace {

constexpr std::int32_t kExempt = 100;
constexpr std::int32_t kInactive = 101;

const QString kExemptText = QStringLiteral("zwolniona");
const QString kInactiveText = QStringLiteral("nieaktywna");

QComboBox* rateField(QWidget* parent)
{
    auto* field = new QComboBox(parent);
    field->setEditable(true);
    field->setInsertPolicy(QComboBox::NoInsert);
    field->addItems({QStringLiteral("22"), QStringLiteral("7"), QStringLiteral("3"),
                     QStringLiteral("0"), kExemptText, kInactiveText});
    field->setCurrentIndex(-1);
    field->setEditText(QString());
    return field;
}

}  // namespace

std::int32_t TFSetRates::RateCode(const QString& text, char letter)
{
    if (text == kExemptText)
        return kExempt;
    if (text == kInactiveText || text.isEmpty())
        return kInactive;
    std::int32_t value = 0;
    if (!ParseInteger(ToCp1250(text), value) || value < 0 || value > kExempt)
        throw EConvertError(std::string("Niepoprawna wartość stawki ") + letter);
    return value;
}

QString TFSetRates::RateFieldText(std::int32_t code)
{
    if (code == kExempt)
        return kExemptText;
    if (code == kInactive)
        return kInactiveText;
    return QString::number(code);
}

TFSetRates::TFSetRates(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Ustawienie stawek podatkowych"));
    setObjectName(QStringLiteral("FSetRates"));
    BuildNowOr(when);
}

void TFSetRates::BuildControls()
{
    ComboBoxA = rateField(this);
    ComboBoxB = rateField(this);
    ComboBoxC = rateField(this);
    ComboBoxD = rateField(this);
    ComboBoxE = rateField(this);
    ComboBoxF = rateField(this);
    ComboBoxG = rateField(this);
    SBRead = new QPushButton(QStringLiteral("Odczytaj"), this);
    BBOK = new QPushButton(QStringLiteral("OK"), this);
    BBOK->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("Anuluj"), this);

    auto* grid = new QGridLayout;
    const auto fields = Fields();
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        auto* label = new QLabel(QString(QLatin1Char(static_cast<char>('A' + i))), this);
        label->setBuddy(fields[static_cast<std::size_t>(i)]);
        grid->addWidget(label, i, 0);
        grid->addWidget(fields[static_cast<std::size_t>(i)], i, 1);
    }
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SBRead);
    buttons->addStretch(1);
    buttons->addWidget(BBOK);
    buttons->addWidget(BBCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(SBRead, &QPushButton::clicked, this, &TFSetRates::SBReadClick);
    connect(BBOK, &QPushButton::clicked, this, [this] {
        BBOKClick();
        accept();
    });
    connect(BBCancel, &QPushButton::clicked, this, &TFSetRates::BBCancelClick);

    KeepCaptionVisible(*this);
    NameControls({{ComboBoxA, "ComboBoxA"}, {ComboBoxB, "ComboBoxB"}, {ComboBoxC, "ComboBoxC"},
                  {ComboBoxD, "ComboBoxD"}, {ComboBoxE, "ComboBoxE"}, {ComboBoxF, "ComboBoxF"},
                  {ComboBoxG, "ComboBoxG"}, {SBRead, "SBRead"}, {BBOK, "BBOK"},
                  {BBCancel, "BBCancel"}});
}

void TFSetRates::SBReadClick()
{
    Guarded([&] {
        TCmdReadCashInfo read(true);
        DirectRead(
            main_, read,
            [&] {
                const auto fields = Fields();
                for (std::size_t i = 0; i < fields.size(); ++i)
                    fields[i]->setEditText(RateFieldText(read.Info().rates[i]));
            },
            QStringLiteral("Nie udało się odczytać stawek"), QStringLiteral("Odczyt stawek"));
    });
}

void TFSetRates::BBOKClick()
{
    Guarded([&] {
        std::array<std::int32_t, 7> codes{};
        const auto fields = Fields();
        for (std::size_t i = 0; i < fields.size(); ++i)
            codes[i] = RateCode(fields[i]->currentText(), static_cast<char>('A' + i));
        MainServices& main = main_;
        main.SubmitCommand(std::make_unique<TCmdSetRates>(codes));
        // Fiscal as the printer reports it now (or as it was, when silent).
        main.QueryPrinterStatus(false);
        main.SetConfirmOnPrinter(main.PrinterIsFiscal());
    });
}

void TFSetRates::BBCancelClick()
{
    reject();
}

}  // namespace varmo
