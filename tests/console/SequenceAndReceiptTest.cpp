// The sequence editor and the test receipt: what the editor hands over for
// what was typed, and the receipt's three frames going straight to the port.
#include <QPlainTextEdit>
#include <QTextCursor>

#include "commands/TransactionCommands.h"
#include "console/dialogs/other/TFEditSeq.h"
#include "console/dialogs/other/TFTestTrans.h"
#include "protocol/Frame.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

using SequenceAndReceiptTest = ConsoleTest;

TEST_F(SequenceAndReceiptTest, TheEditorHandsOverTheDecodedText)
{
    TFMain& main = Start();
    TFEditSeq& editor = *forms().FEditSeq;
    const struct {
        QString typed;
        std::string body;
    } cases[] = {
        {"", ""},
        // Lines join with nothing between them.
        {"0$f\nABC<CR><FF>", "0$fABC\r\xFF"},
        {"<ESC>P<<x<$7F>", "\x1BP<x\x7F"},
        {"Łódź", "\xA3\xF3\x64\x9F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        editor.show();
        editor.Memo->setPlainText(c.typed);
        editor.BBOkClick();
        ASSERT_NE(main.CurrentCommand(), nullptr);
        EXPECT_EQ(main.CurrentCommand()->GetBody(), c.body);
        EXPECT_EQ(main.Memo->toPlainText(), QStringLiteral("Sekwencja użytkownika"));
        EXPECT_FALSE(editor.isVisible());
        // The text stays for the next opening.
        EXPECT_EQ(editor.Memo->toPlainText(), c.typed);
    }
    editor.Memo->clear();
    editor.BBOkClick();
    EXPECT_EQ(main.CurrentCommand()->GetRawFrame(), "\x1BPFF\x1B\\");
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(main.ComPort.Connected());
}

TEST_F(SequenceAndReceiptTest, TheEditorRefusesMalformedTextAndKeepsIt)
{
    TFMain& main = Start();
    TFEditSeq& editor = *forms().FEditSeq;
    for (const QString typed : {"<ESC", "<XY>", "ab<$", "<", "中"}) {
        SCOPED_TRACE(typed.toStdString());
        prompts.shown.clear();
        editor.show();
        editor.Memo->setPlainText(typed);
        editor.BBOkClick();
        EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Niepoprawna sekwencja",
                                                            "Edycja dowolnej sekwencji")});
        EXPECT_EQ(main.CurrentCommand(), nullptr);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.Memo->toPlainText(), typed);
    }
}

TEST_F(SequenceAndReceiptTest, InsertButtonsReplaceTheSelection)
{
    Start();
    TFEditSeq& editor = *forms().FEditSeq;
    editor.Memo->setPlainText(QStringLiteral("0$fXYZ"));
    QTextCursor cursor = editor.Memo->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(6, QTextCursor::KeepAnchor);  // "XYZ"
    editor.Memo->setTextCursor(cursor);
    editor.SBCR();
    EXPECT_EQ(editor.Memo->toPlainText(), QStringLiteral("0$f<CR>"));
    cursor = editor.Memo->textCursor();
    cursor.setPosition(0);
    editor.Memo->setTextCursor(cursor);
    editor.SpeedButton2Click();
    editor.SpeedButton3Click();
    EXPECT_EQ(editor.Memo->toPlainText(), QStringLiteral("<ESC><FF>0$f<CR>"));
}

TEST_F(SequenceAndReceiptTest, TheTestReceiptGoesStraightToThePort)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    main.Nagwek2Click();
    TCommand* current = main.CurrentCommand();
    const QString shown = main.RESend->toPlainText();

    forms().FTestTrans->BBOKClick();
    const std::string frames =
        TCmdTransStart(1).GetFrame() +
        TCmdTransLine(1, "Towar testowy", 10000, 'A', 100, 100).GetFrame() +
        TCmdTransConfirm("01", "1", 100).GetFrame();
    ASSERT_TRUE(printer.waitForReceived(frames.size()));
    // Then the status query: this printer does not answer it.
    EXPECT_EQ(printer.received(), frames + std::string(1, kENQ));
    EXPECT_NE(frames.find("1$lTowar testowy\r1\rA/0.01/0.01/"), std::string::npos);
    EXPECT_NE(frames.find("1;0$e011\r0.00/0.01/"), std::string::npos);
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Paragon testowy został wysłany",
                                                        "Paragon testowy")});
    // Bypassing the window: no new current command, nothing shown.
    EXPECT_EQ(main.CurrentCommand(), current);
    EXPECT_EQ(main.CommandHistory.Count(), 1u);
    EXPECT_EQ(main.RESend->toPlainText(), shown);
}

TEST_F(SequenceAndReceiptTest, ATestReceiptWithoutAPortSendsNothing)
{
    Start();
    forms().FTestTrans->BBOKClick();
    EXPECT_TRUE(CannotOpen(prompts.shown, QStringLiteral("COM1")));
}

}  // namespace
}  // namespace varmo::test
