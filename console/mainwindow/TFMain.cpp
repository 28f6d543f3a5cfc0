#include "console/mainwindow/TFMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

#include "console/widgets/DialogPlacement.h"
#include "console/widgets/Fonts.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "console/base/Text.h"
#include "link/PortLoss.h"
#include "link/StoredLink.h"
#include "protocol/Exception.h"

namespace varmo {

namespace {

QPlainTextEdit* readOnlyView(QWidget* parent, bool frameView)
{
    auto* view = new QPlainTextEdit(parent);
    view->setReadOnly(true);
    // Every answer replaces the text whole. Sized from its line count, the
    // scroll bar needs no layout of lines nobody sees; a new answer then costs
    // only the lines on screen.
    view->setCenterOnScroll(true);
    view->setUndoRedoEnabled(false);
    // Lines are never wrapped: an answer's lines are laid out once, each as
    // one line, and a long one scrolls sideways.
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Latin text needs no shaping (kerning and ligatures are a nicety there,
    // and the frames' font has none); skipping it more than halves the time
    // an answer takes to lay out. Scripts that need shaping still get it.
    QFont font = frameView ? FrameFont() : view->font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    view->setFont(font);
    if (frameView) {
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    return view;
}

// One side of the window: description above, frame below, buttons under it.
QGroupBox* side(const QString& title, QWidget* parent, QPlainTextEdit*& description,
                const QString& frameLabel, QPlainTextEdit*& frame,
                std::initializer_list<QPushButton*> buttons)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    description = readOnlyView(box, false);
    frame = readOnlyView(box, true);
    layout->addWidget(new QLabel(QStringLiteral("Opis:"), box));
    layout->addWidget(description, 3);
    layout->addWidget(new QLabel(frameLabel, box));
    layout->addWidget(frame, 2);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons) {
        button->setParent(box);
        row->addWidget(button);
    }
    layout->addLayout(row);
    return box;
}

}  // namespace

TFMain::TFMain(Forms& forms, QWidget* parent, FormBuild log) : QMainWindow(parent), forms_(forms)
{
    setWindowTitle(QStringLiteral("Varmo - Ferwen s.c."));
    buildSides();
    buildStatusPanel();
    buildMenu();
    nameControls();
    buildLogAndStatusLine(log);
    buildBook();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* sides = new QHBoxLayout;
    sides->addWidget(GroupBox1, 1);
    sides->addWidget(GroupBox2, 1);
    layout->addLayout(sides, 1);
    layout->addWidget(GroupBox3);
    setCentralWidget(central);

    resize(751, 606);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    connect(SBSend, &QPushButton::clicked, this, &TFMain::SBSendClick);
    connect(SBSaveCmd, &QPushButton::clicked, this, &TFMain::SBSaveCmdClick);
    connect(SBOpenCmd, &QPushButton::clicked, this, &TFMain::SBOpenCmdClick);
    connect(SBSaveAns, &QPushButton::clicked, this, &TFMain::SBSaveAnsClick);

    // Whatever goes wrong while an answer is delivered, or with the device
    // while nobody is talking to it, the operator sees it once in the
    // standard error box and the console carries on.
    const auto showError = [](const QString& message) {
        ShowStandardError(Exception(message.toStdString()));
    };
    connect(&Exchange, &PrinterExchange::deliveryFailed, this, showError);
    // The loss of the port is told once per loss, in a box that leaves the
    // console running and goes by itself when the printer is taken back.
    // Told in Polish; the system's own words stay as its detail line.
    connect(&Exchange, &PrinterExchange::portFailed, this, [this](const QString&, int osError) {
        Guarded([&] {
            CurrentPrompts().lossNotice(
                FromUtf8(LossNoticeText(Exchange.PortName().toStdString(), osError)));
            lossTold_ = true;
        });
    });
    connect(&Exchange, &PrinterExchange::printerBack, this, [this] {
        Guarded([&] {
            // Taken back at another speed: the printer is set to it now.
            if (Exchange.Speed() != StoredBaud())
                StoreBaud(Exchange.Speed());
        });
        if (std::exchange(lossTold_, false))
            Guarded([] { CurrentPrompts().closeLossNotice(); });
    });
    connect(&Exchange, &PrinterExchange::packetArrived, this, &TFMain::FrameCutArrived);
    connect(&Exchange, &PrinterExchange::chunkDelivered, this, [this] {
        if (!isMinimized())
            showPendingAnswer();
    });

    FormCreate();
    restoreLogPlace();
}

TFMain::~TFMain()
{
    releasePort();
    saveLogPlace();
    FormDestroy();
    disconnect(&Exchange, nullptr, this, nullptr);
}

void TFMain::buildSides()
{
    SBSaveCmd = new QPushButton(QStringLiteral("Zapisz"));
    SBOpenCmd = new QPushButton(QStringLiteral("Otwórz"));
    SBSend = new QPushButton(QStringLiteral("Wykonaj"));
    GroupBox1 = side(QStringLiteral("Wysyłane"), this, Memo, QStringLiteral("Rozkaz:"), RESend,
                     {SBSaveCmd, SBOpenCmd, SBSend});

    SBSaveAns = new QPushButton(QStringLiteral("Zapisz"));
    GroupBox2 = side(QStringLiteral("Odebrane"), this, MemoR, QStringLiteral("Odpowiedź:"),
                     RERcv, {SBSaveAns});
    // The two gates of the answer side: always open, never shown.
    CBOpis = new QCheckBox(QStringLiteral("Opis"), GroupBox2);
    CBAnswer = new QCheckBox(QStringLiteral("Odpowiedź"), GroupBox2);
    for (QCheckBox* gate : {CBOpis, CBAnswer}) {
        gate->setChecked(true);
        gate->setVisible(false);
    }
}

void TFMain::closeEvent(QCloseEvent* event)
{
    // The wait ends at once, as its time-out would have, and its exchange
    // unwinds; the window closes, and the code page goes back to the store.
    // The port goes back to the system now, or, under a wait, as the window
    // is destroyed, before anything else.
    if (LineWait::Active())
        LineWait::BreakOff();
    else
        releasePort();
    QMainWindow::closeEvent(event);
}

void TFMain::releasePort()
{
    // First of all: another program (the console started again, a
    // colleague's tool) can open the port at once, whatever the rest of the
    // closing takes; the visit book and its sync with the server go after.
    Guarded([&] {
        if (Exchange.IsOpen() && !Exchange.Busy())
            Exchange.Close();
    });
}

void TFMain::showModal(QDialog* dialog)
{
    if (dialog != nullptr)
        ExecWhereLeft(*dialog);
}

}  // namespace varmo
