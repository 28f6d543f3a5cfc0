// The service lock and its password dialog.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "console/dialogs/settings/TFPass.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

class ServiceLockTest : public ConsoleTest {
protected:
    // Chooses the toggle entry; while the password dialog is up, whatever is
    // in the field at that moment is checked: the dialog must have emptied it.
    void UnlockWith(TFMain& main, const QString& typed, bool pressOk = true)
    {
        TFPass& dialog = *forms().FPass;
        QTimer::singleShot(0, &dialog, [&dialog, typed, pressOk, this] {
            emptiedAtShow.push_back(dialog.Ed->text().isEmpty());
            dialog.Ed->setText(typed);
            (pressOk ? dialog.BitBtn1 : dialog.BitBtn2)->click();
        });
        main.Odblokujfunkcjeserwisowe1Click();
        EXPECT_FALSE(dialog.isVisible());
    }

    static bool ServiceEntriesEnabled(const TFMain& main)
    {
        const bool nip = main.NIPFiskalizacja1->isEnabled();
        EXPECT_EQ(main.Dataprzegldu1->isEnabled(), nip);
        EXPECT_EQ(main.Dowolnasekwencja1->isEnabled(), nip);
        return nip;
    }

    std::vector<bool> emptiedAtShow;
};

const Shown kUnlocked = Message(QStringLiteral("Funkcje serwisowe zostały odblokowane"),
                                QStringLiteral("Funkcje serwisowe"));
const Shown kLocked = Message(QStringLiteral("Funkcje serwisowe zostały zablokowane"),
                              QStringLiteral("Funkcje serwisowe"));
const Shown kWrong = Message(QStringLiteral("Niepoprawne hasło"), QStringLiteral("Funkcje serwisowe"));

TEST_F(ServiceLockTest, OnlyTheExactPasswordUnlocks)
{
    const struct {
        QString typed;
        bool unlocks;
    } cases[] = {
        {"4781", true},  {"4781 ", false}, {" 4781", false}, {"", false},
        {"4782", false}, {"478", false},   {"47811", false},
    };
    TFMain& main = Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        prompts.shown.clear();
        UnlockWith(main, c.typed);
        EXPECT_EQ(main.ServiceUnlocked, c.unlocks);
        EXPECT_EQ(ServiceEntriesEnabled(main), c.unlocks);
        EXPECT_EQ(prompts.shown, std::vector<Shown>{c.unlocks ? kUnlocked : kWrong});
        if (main.ServiceUnlocked)
            main.SetServiceMode(false);
    }
    // The field was empty at every showing, whatever was typed the time before.
    EXPECT_EQ(emptiedAtShow, std::vector<bool>(std::size(cases), true));
}

TEST_F(ServiceLockTest, TheToggleLocksAgainAndSaysSo)
{
    TFMain& main = Start();
    UnlockWith(main, QStringLiteral("4781"));
    EXPECT_TRUE(ServiceEntriesEnabled(main));
    EXPECT_EQ(main.Odblokujfunkcjeserwisowe1->text(), QStringLiteral("Zablokuj funkcje serwisowe"));

    main.Odblokujfunkcjeserwisowe1Click();  // no dialog this time
    EXPECT_FALSE(main.ServiceUnlocked);
    EXPECT_FALSE(ServiceEntriesEnabled(main));
    EXPECT_EQ(main.Odblokujfunkcjeserwisowe1->text(), QStringLiteral("Odblokuj funkcje serwisowe"));
    EXPECT_EQ(prompts.shown, (std::vector<Shown>{kUnlocked, kLocked}));
}

TEST_F(ServiceLockTest, CancelChangesNothing)
{
    TFMain& main = Start();
    UnlockWith(main, QStringLiteral("4781"), false);
    EXPECT_FALSE(main.ServiceUnlocked);
    EXPECT_FALSE(ServiceEntriesEnabled(main));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ServiceLockTest, TheLockIsNotRemembered)
{
    TFMain& first = Start();
    UnlockWith(first, QStringLiteral("4781"));
    ASSERT_TRUE(first.ServiceUnlocked);
    Stop();
    TFMain& second = Start();
    EXPECT_FALSE(second.ServiceUnlocked);
    EXPECT_FALSE(ServiceEntriesEnabled(second));
}

}  // namespace
}  // namespace varmo::test
