#include "console/dialogs/other/TFormAbout.h"

#include <QGraphicsDropShadowEffect>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/widgets/ObjectNames.h"
#include "console/base/ProgramVersion.h"

namespace varmo {

namespace {

// The distributor's mark: a green disc with a white F.
QPixmap distributorLogo()
{
    QPixmap logo(48, 48);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 128, 0));
    painter.drawEllipse(2, 2, 44, 44);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(28);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("F"));
    return logo;
}

QLabel* styled(const QString& text, QWidget* parent, int pointSize, bool bold, bool italic)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    label->setFont(font);
    return label;
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent, FormBuild when)
    : LateBuiltDialog(parent)
{
    setWindowTitle(QStringLiteral("O programie ..."));
    setObjectName(QStringLiteral("FormAbout"));
    BuildNowOr(when);
}

void TFormAbout::BuildControls()
{
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Maker = styled(QStringLiteral("Ferwen s.c."), this, 11, true, true);

    ProductName = styled(QStringLiteral("Varmo"), this, 48, true, true);
    QPalette green = ProductName->palette();
    green.setColor(QPalette::WindowText, QColor(0, 160, 0));
    ProductName->setPalette(green);
    auto* shadow = new QGraphicsDropShadowEffect(ProductName);
    shadow->setColor(Qt::black);
    shadow->setOffset(3, 3);
    shadow->setBlurRadius(0);
    ProductName->setGraphicsEffect(shadow);
    ProductName->setAlignment(Qt::AlignCenter);

    Comments = styled(QStringLiteral("Program serwisowy do drukarki fiskalnej"), this, 0, false,
                      false);
    Comments->setAlignment(Qt::AlignCenter);

    DistributionHeading = styled(QStringLiteral("Dystrybucja"), this, 0, true, false);
    DistributorLogo = new QLabel(this);
    DistributorLogo->setPixmap(distributorLogo());
    DistributorName = styled(QStringLiteral("Ferwen Dystrybucja"), this, 0, true, false);

    Contact = new QPlainTextEdit(this);
    Contact->setReadOnly(true);
    Contact->setPlainText(QStringLiteral("Ferwen s.c.\n"
                                         "ul. Przykładowa 1\n"
                                         "00-001 Miasteczko\n"
                                         "tel. 00 000 00 00\n"
                                         "serwis@ferwen.example"));
    Contact->setMaximumHeight(100);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    Version = new QLabel(AboutVersionLine(kProgramVersion), this);

    auto* distributor = new QHBoxLayout;
    distributor->addWidget(DistributorLogo);
    distributor->addWidget(DistributorName, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Version);
    bottom->addStretch(1);
    bottom->addWidget(OKButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Maker, 0, Qt::AlignLeft);
    layout->addWidget(ProductName);
    layout->addWidget(Comments);
    layout->addSpacing(12);
    layout->addWidget(DistributionHeading);
    layout->addLayout(distributor);
    layout->addWidget(Contact);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    NameControls({{Maker, "Maker"}, {ProductName, "ProductName"}, {Comments, "Comments"},
                  {DistributionHeading, "DistributionHeading"}, {DistributorLogo, "DistributorLogo"},
                  {DistributorName, "DistributorName"}, {Contact, "Contact"},
                  {OKButton, "OKButton"}, {Version, "Version"}});
}

}  // namespace varmo
