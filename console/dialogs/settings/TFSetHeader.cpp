#include "console/dialogs/settings/TFSetHeader.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "commands/DescriptionText.h"
#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "console/dialogs/settings/DirectRead.h"
#include "console/files/FileIO.h"
#include "console/widgets/Fonts.h"
#include "console/widgets/DialogPlacement.h"
#include "console/dialogs/MainServices.h"
#include "console/base/HandlerGuard.h"
#include "console/files/HeaderFile.h"
#include "console/dialogs/settings/HeaderLines.h"
#include "console/dialogs/settings/HeaderMemo.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Prompts.h"
#include "console/base/Text.h"

namespace varmo {

namespace {

// Every line counts its length and the CR that ends it.
constexpr qsizetype kHeaderTotal = 390;

const QString kRefused = QStringLiteral("Niepoprawny nagłówek");

void showLines(HeaderMemo* memo, const std::vector<std::string>& lines)
{
    QStringList text;
    for (const std::string& line : lines)
        text.append(FromCp1250(line));
    memo->setPlainText(MemoText(text));
}

}  // namespace

TFSetHeader::TFSetHeader(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Nagłówek"));
    setObjectName(QStringLiteral("FSetHeader"));
    BuildNowOr(when);
}

void TFSetHeader::BuildControls()
{
    // The letters down the column spell the buttons' purpose.
    Memo = new HeaderMemo({QStringLiteral("C"), QStringLiteral("E"), QStringLiteral("N"),
                           QStringLiteral("T"), QStringLiteral("R"), QStringLiteral("U"),
                           QStringLiteral("J"), QString()},
                          this);
    Memo->setFont(FrameFont());
    SpeedButton2 = Memo->LineButton(0);
    SpeedButton3 = Memo->LineButton(1);
    SpeedButton4 = Memo->LineButton(2);
    SpeedButton5 = Memo->LineButton(3);
    SpeedButton8 = Memo->LineButton(4);
    SpeedButton6 = Memo->LineButton(5);
    SpeedButton7 = Memo->LineButton(6);
    SpeedButton9 = Memo->LineButton(7);
    SpeedButton1 = new QPushButton(QStringLiteral("Odczytaj"), this);
    SpeedButton10 = new QPushButton(QStringLiteral("Do pliku"), this);
    SpeedButton11 = new QPushButton(QStringLiteral("Z pliku"), this);
    BBOK = new QPushButton(QStringLiteral("OK"), this);
    BBOK->setDefault(true);
    // Enter in the memo makes a new line; the default button takes it only
    // from the other controls.
    BBOK->setAutoDefault(false);
    BBCancel = new QPushButton(QStringLiteral("Anuluj"), this);

    // Room for a full header line and the eight lines the buttons stand by.
    const QFontMetrics metrics(Memo->font());
    Memo->setMinimumSize(metrics.horizontalAdvance(QString(kHeaderLineLength + 2, QLatin1Char('W'))) + 60,
                         metrics.lineSpacing() * static_cast<int>(kHeaderFileLines + 2));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton10);
    buttons->addWidget(SpeedButton11);
    buttons->addStretch(1);
    buttons->addWidget(BBOK);
    buttons->addWidget(BBCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo, 1);
    layout->addLayout(buttons);

    const std::pair<QPushButton*, void (TFSetHeader::*)()> handlers[] = {
        {SpeedButton1, &TFSetHeader::SpeedButton1Click},
        {SpeedButton2, &TFSetHeader::SpeedButton2Click},
        {SpeedButton3, &TFSetHeader::SpeedButton3Click},
        {SpeedButton4, &TFSetHeader::SpeedButton4Click},
        {SpeedButton5, &TFSetHeader::SpeedButton5Click},
        {SpeedButton8, &TFSetHeader::SpeedButton8Click},
        {SpeedButton6, &TFSetHeader::SpeedButton6Click},
        {SpeedButton7, &TFSetHeader::SpeedButton7Click},
        {SpeedButton9, &TFSetHeader::SpeedButton9Click},
        {SpeedButton10, &TFSetHeader::SpeedButton10Click},
        {SpeedButton11, &TFSetHeader::SpeedButton11Click},
        {BBOK, &TFSetHeader::BBOKClick},
        {BBCancel, &TFSetHeader::BBCancelClick},
    };
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, handler);

    KeepCaptionVisible(*this);
    NameControls({{Memo, "Memo"},
                  {SpeedButton1, "SpeedButton1"},
                  {SpeedButton2, "SpeedButton2"},
                  {SpeedButton3, "SpeedButton3"},
                  {SpeedButton4, "SpeedButton4"},
                  {SpeedButton5, "SpeedButton5"},
                  {SpeedButton6, "SpeedButton6"},
                  {SpeedButton7, "SpeedButton7"},
                  {SpeedButton8, "SpeedButton8"},
                  {SpeedButton9, "SpeedButton9"},
                  {SpeedButton10, "SpeedButton10"},
                  {SpeedButton11, "SpeedButton11"},
                  {BBOK, "BBOK"},
                  {BBCancel, "BBCancel"}});

    FormCreate();
}

void TFSetHeader::FormCreate()
{
    Memo->clear();
}

void TFSetHeader::FormClose()
{
    // Its read never takes the window's answers away, so closing has
    // nothing to give back.
}

void TFSetHeader::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TFSetHeader::CentreLine(int line)
{
    Guarded([&] {
        const QStringList lines = MemoLines(Memo->toPlainText());
        if (line < 0 || line >= lines.size())
            return;
        // Replaced through a cursor, so the operator can undo it.
        QTextCursor cursor(Memo->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(CentredLine(lines.at(line)));
    });
}

void TFSetHeader::SpeedButton1Click()
{
    Guarded([&] {
        TCmdReadHeader read;
        DirectRead(
            main_, read, [&] { showLines(Memo, SplitAtCR(read.HeaderText())); },
            QStringLiteral("Odczyt nagłówka się nie powiódł"), QStringLiteral("Odczyt nagłówka"));
    });
}

void TFSetHeader::SpeedButton10Click()
{
    Guarded([&] {
        const QString path = CurrentPrompts().saveFileName(TextFileFilter(), kTextFileExt);
        if (path.isEmpty())
            return;
        std::string bytes;
        for (const QString& line : MemoLines(Memo->toPlainText()))
            bytes += ToCp1250(TrimRight(line)) + "\r\n";
        WriteWholeFile(path, bytes);
    });
}

void TFSetHeader::SpeedButton11Click()
{
    Guarded([&] {
        const QString path = CurrentPrompts().openFileName(TextFileFilter(), kTextFileExt);
        if (path.isEmpty())
            return;
        // Read whole first: a file that cannot be read leaves the header alone.
        const std::vector<std::string> lines = HeaderFileLines(ReadWholeFile(path));
        showLines(Memo, lines);
    });
}

void TFSetHeader::BBOKClick()
{
    Guarded([&] {
        std::string header;
        qsizetype total = 0;
        const QStringList lines = MemoLines(Memo->toPlainText());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const std::string line = ToCp1250(TrimRight(lines.at(i)));
            total += static_cast<qsizetype>(line.size()) + 1;
            if (total > kHeaderTotal) {
                CurrentPrompts().message(QStringLiteral("Zbyt dużo znaków"), kRefused);
                return;
            }
            if (line.size() > kHeaderLineLength) {
                CurrentPrompts().message(
                    QStringLiteral("Zbyt dużo znaków w linii ") + QString::number(i), kRefused);
                return;
            }
            header += line + '\r';
        }
        main_.SubmitCommand(std::make_unique<TCmdSetHeader>(header));
        accept();
    });
}

void TFSetHeader::BBCancelClick()
{
    reject();
}

}  // namespace varmo
