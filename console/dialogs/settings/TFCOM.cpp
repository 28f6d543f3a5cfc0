#include "console/dialogs/settings/TFCOM.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/MainServices.h"
#include "exchange/PrinterExchange.h"
#include "console/widgets/DialogButtons.h"
#include "link/SettingsStore.h"
#include "link/StoredLink.h"

namespace varmo {

TFCOM::TFCOM(MainServices& main, FormBuild when) : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Ustawienia transmisji"));
    setObjectName(QStringLiteral("FCOM"));
    // Read now, whenever the controls are made: a value that cannot be read
    // is told of at start.
    atStart_ = readStored();
    BuildNowOr(when);
}

void TFCOM::BuildControls()
{
    GBCom = new QGroupBox(QStringLiteral("Port COM"), this);
    RBCOM1 = new QRadioButton(QStringLiteral("COM1"), GBCom);
    RBCOM2 = new QRadioButton(QStringLiteral("COM2"), GBCom);
    RBCOMCustom = new QRadioButton(GBCom);
    EdCOM = new QLineEdit(QStringLiteral("COM3"), GBCom);
    auto* comLayout = new QVBoxLayout(GBCom);
    comLayout->addWidget(RBCOM1);
    comLayout->addWidget(RBCOM2);
    auto* customRow = new QHBoxLayout;
    customRow->addWidget(RBCOMCustom);
    customRow->addWidget(EdCOM, 1);
    comLayout->addLayout(customRow);
    CBDevice = new QComboBox(GBCom);
    CBDevice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CBDevice->setMinimumContentsLength(28);
    comLayout->addWidget(new QLabel(QStringLiteral("Urządzenie:"), GBCom));
    comLayout->addWidget(CBDevice);
    BtnFindPrinter = new QPushButton(QStringLiteral("Szukaj drukarki"), GBCom);
    comLayout->addWidget(BtnFindPrinter);
    // What the search found, until the dialog closes.
    LbFound = new QLabel(GBCom);
    LbFound->setTextFormat(Qt::PlainText);
    LbFound->hide();
    comLayout->addWidget(LbFound);
    comLayout->addStretch(1);

    RGBaud = new RadioGroup(QStringLiteral("Prędkość transmisji"),
                            {QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"),
                             QStringLiteral("19200"), QStringLiteral("38400"),
                             QStringLiteral("57600"), QStringLiteral("115200")},
                            this);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* columns = new QHBoxLayout;
    columns->addWidget(GBCom, 1);
    columns->addWidget(RGBaud, 1);
    auto* buttons = DialogButtonRow({BitBtn1});
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(CBDevice, &QComboBox::activated, this, &TFCOM::CBDeviceChoose);
    connect(EdCOM, &QLineEdit::textChanged, this, [this] { ShowChosenDevice(); });
    connect(BtnFindPrinter, &QPushButton::clicked, this, &TFCOM::BtnFindPrinterClick);

    for (QRadioButton* button : {RBCOM1, RBCOM2, RBCOMCustom})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                RBCOM1Click();
        });

    NameControls({{GBCom, "GBCom"}, {RBCOM1, "RBCOM1"}, {RBCOM2, "RBCOM2"},
                  {RBCOMCustom, "RBCOMCustom"}, {EdCOM, "EdCOM"}, {RGBaud, "RGBaud"},
                  {BitBtn1, "BitBtn1"}, {CBDevice, "CBDevice"},
                  {BtnFindPrinter, "BtnFindPrinter"}, {LbFound, "LbFound"}});

    showStored(atStart_);
}

void TFCOM::FormCreate()
{
    EnsureBuilt();
    showStored(readStored());
}

TFCOM::StoredLine TFCOM::readStored()
{
    // Each value stands alone: one that cannot be read (after its error box)
    // leaves 9600 or the custom choice, and the other is still read.
    StoredLine stored;
    Guarded([&] { stored.speed = StoredBaud(); });
    // Nothing stored yet: the port the console uses, and the status line
    // names, COM1.
    Guarded([&] { stored.port = StoredPortName(); });
    return stored;
}

void TFCOM::showStored(const StoredLine& stored)
{
    // The custom name keeps its "COM3" until a stored name goes there.
    SelectSpeed(kDefaultBaud);
    RBCOMCustom->setChecked(true);
    RBCOM1Click();
    if (stored.speed)
        Guarded([&] { SelectSpeed(*stored.speed); });
    if (stored.port)
        Guarded([&] { SelectPort(*stored.port); });
}

void TFCOM::SelectSpeed(std::int32_t speed)
{
    const QStringList items = RGBaud->Items();
    const int index = items.indexOf(QString::number(speed));
    // The list holds 9600, so the fallback always finds its item.
    RGBaud->SetItemIndex(index >= 0 ? index : items.indexOf(QString::number(kDefaultBaud)));
}

void TFCOM::SelectPort(const QString& name)
{
    if (name == QLatin1String("COM1")) {
        RBCOM1->setChecked(true);
    } else if (name == QLatin1String("COM2")) {
        RBCOM2->setChecked(true);
    } else {
        RBCOMCustom->setChecked(true);
        EdCOM->setText(name);
    }
    RBCOM1Click();
}

std::int32_t TFCOM::SelectedSpeed() const
{
    const int index = RGBaud->ItemIndex();
    return index < 0 ? kDefaultBaud : RGBaud->Items().at(index).toInt();
}

QString TFCOM::SelectedPortName() const
{
    if (RBCOM1->isChecked())
        return QStringLiteral("COM1");
    if (RBCOM2->isChecked())
        return QStringLiteral("COM2");
    return EdCOM->text();
}

void TFCOM::RBCOM1Click()
{
    Guarded([&] {
        EdCOM->setEnabled(RBCOMCustom->isChecked());
        ShowChosenDevice();
    });
}

void TFCOM::FormShow()
{
    // The port stays closed while the operator chooses.
    Guarded([&] {
        LbFound->hide();
        LbFound->clear();
        main_.ClosePort();
        // The operator chooses anew: a device that vanished is no longer
        // awaited, and the port is not reopened behind the dialog's back.
        main_.Printer().ForgetVanishedDevice();
        FillDevices();
    });
}

void TFCOM::FormClose()
{
    Guarded([&] {
        const std::int32_t speed = SelectedSpeed();
        const QString name = SelectedPortName();
        main_.Printer().SetSpeed(speed);
        main_.Printer().SetPort(name);
        StoreBaud(speed);
        StorePortName(name);
        // Opened at once, so that the status line says where the port
        // stands ("otwarty", or what stands in the way) before the first
        // command rather than after it. A port that will not open is told
        // there; the box comes with the first command sent.
        if (main_.Printer().Open())
            main_.IdentifyPrinter();
    });
}

void TFCOM::done(int result)
{
    FormClose();
    LateBuiltDialog::done(result);
}

void TFCOM::showEvent(QShowEvent* event)
{
    LateBuiltDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

}  // namespace varmo
