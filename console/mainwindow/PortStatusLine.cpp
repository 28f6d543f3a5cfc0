#include "console/mainwindow/PortStatusLine.h"

#include <QLabel>
#include <QStatusBar>

#include "console/base/Text.h"
#include "console/widgets/ElidedLabel.h"
#include "exchange/SearchSummary.h"
#include "link/PortLoss.h"
#include "link/SerialError.h"

namespace varmo {

namespace {

QLabel* field(QStatusBar* bar, const char* name, bool permanent)
{
    auto* label = new QLabel(bar);
    label->setObjectName(QLatin1String(name));
    // What these show comes from the settings, the environment, the system
    // and the printer's answers: never markup to obey.
    label->setTextFormat(Qt::PlainText);
    if (permanent)
        bar->addPermanentWidget(label);
    else
        bar->addWidget(label, 1);
    return label;
}

// Text of our own, with a link in it: the labels that take markup. Shown
// when offered, whole or not at all: a link cut in half is no offer.
QLabel* offer(QStatusBar* bar, const char* name, const QString& text)
{
    auto* label = new QLabel(text, bar);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    bar->addWidget(label);
    label->hide();
    return label;
}

// A label touched only when what it shows changes: the status bar is laid out
// and painted again at every touch, and the line's news comes with every
// command and answer.
void show(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

void colour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    if (palette.color(QPalette::WindowText) == colour)
        return;
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

QString PortStateText(const PortState& state)
{
    if (state.open)
        return QStringLiteral("otwarty");
    // Gone under the open port: the re-plug watch waits for it.
    if (state.lost && state.failureCode != 0)
        return FromUtf8(LossStateText(state.failureCode));
    // Busy, forbidden or absent in the words varmo-cli uses too.
    if (state.failureCode != 0)
        return QStringLiteral("błąd: ") + FromUtf8(PortFailureText(state.failureCode));
    return QStringLiteral("zamknięty");
}

QString PortPlaceText(const PortState& state)
{
    return ShownPort(FromUtf8(state.name), FromUtf8(state.device));
}

PortStatusLine::PortStatusLine(QStatusBar* bar) : QObject(bar)
{
    // Takes the room the others leave: in a narrow window its end gives way
    // to "…" (it begins with "Brak odpowiedzi" or "Wysłano"), the whole
    // text in its tooltip, never the offer beside it.
    auto* news = new ElidedLabel(bar);
    news->setObjectName(QStringLiteral("LbNoAnswer"));
    news->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(news, 1);
    LbNoAnswer = news;
    colour(LbNoAnswer, Qt::red);
    LbSearch = offer(bar, "LbSearch",
                     QStringLiteral("może inna prędkość? <a href=\"szukaj\">Szukaj drukarki</a>"));
    connect(LbSearch, &QLabel::linkActivated, this, &PortStatusLine::searchRequested);
    LbVerify = offer(bar, "LbVerify",
                     QStringLiteral("<a href=\"sprawdz\">sprawdź, czy wykonała</a>"));
    connect(LbVerify, &QLabel::linkActivated, this, &PortStatusLine::verifyRequested);
    LbPort = field(bar, "LbPort", true);
    LbSpeed = field(bar, "LbSpeed", true);
    LbCodePage = field(bar, "LbCodePage", true);
    LbState = field(bar, "LbState", true);
}

void PortStatusLine::PortStateChanged(const PortState& state)
{
    show(LbPort, ShownAtMost(PortPlaceText(state)));
    show(LbSpeed, QStringLiteral("%1 bd").arg(state.baud));
    show(LbState, ShownAtMost(PortStateText(state)));
    colour(LbState, state.open ? QColor(0, 128, 0)
                    : state.failureCode != 0 ? QColor(Qt::red)
                                             : QColor(Qt::black));
}

void PortStatusLine::ReplugRefused(const QString& device)
{
    show(LbState, ShownAtMost(QStringLiteral("zamknięty: pod %1 jest inne urządzenie, nie ta "
                                             "drukarka")
                                  .arg(device)));
    colour(LbState, QColor(Qt::red));
}

void PortStatusLine::ShowCodePage(const QString& codePage)
{
    // As the menu shows it: only "maz" converts, anything else sends as is.
    show(LbCodePage, codePage == QLatin1String("maz") ? QStringLiteral("Mazovia")
                                                      : QStringLiteral("Windows"));
}

void PortStatusLine::showAnswerNews(const QString& text, bool silent, const QColor& shade,
                                    bool sent)
{
    LbNoAnswer->SetWholeText(text);
    colour(LbNoAnswer, shade);
    if (LbSearch->isVisibleTo(LbSearch->parentWidget()) != silent)
        LbSearch->setVisible(silent);
    if (LbVerify->isVisibleTo(LbVerify->parentWidget()) != sent)
        LbVerify->setVisible(sent);
}

void PortStatusLine::Sent(const QString& description)
{
    showAnswerNews(ShownAtMost(QStringLiteral("Wysłano: ") + description), false, Qt::black, true);
}

void PortStatusLine::Verified(const QString& description, std::optional<std::int32_t> error,
                              const QString& errorText)
{
    if (!error) {
        showAnswerNews(QStringLiteral("Brak odpowiedzi: Odczyt kodu błędu"), true);
        return;
    }
    if (*error == 0) {
        showAnswerNews(ShownAtMost(QStringLiteral("Drukarka wykonała: ") + description), false,
                       QColor(0, 128, 0));
        return;
    }
    QString text = QStringLiteral("Kod błędu %1").arg(*error);
    if (!errorText.isEmpty())
        text += QStringLiteral(": ") + errorText;
    showAnswerNews(ShownAtMost(text + QStringLiteral(" (") + description + QStringLiteral(")")),
                   false);
}

void PortStatusLine::CommandSent(const QString& description)
{
    showAnswerNews(QString(), false);
    awaited_ = description;
}

void PortStatusLine::AnswerArrived()
{
    showAnswerNews(QString(), false);
}

void PortStatusLine::BadCheck()
{
    // The printer did answer: its frame came spoilt, which is another fault
    // of the line than silence.
    const QString text = QString::fromUtf8(kBadCheckText);
    showAnswerNews(ShownAtMost(awaited_.isEmpty() ? text : text + QStringLiteral(": ") + awaited_),
                   false);
}

void PortStatusLine::NoAnswer()
{
    // Silence is most often a wrong speed or port: the search is offered.
    showAnswerNews(ShownAtMost(awaited_.isEmpty()
                                   ? QStringLiteral("Brak odpowiedzi")
                                   : QStringLiteral("Brak odpowiedzi: ") + awaited_),
                   true);
}

}  // namespace varmo
