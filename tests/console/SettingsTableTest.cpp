// The console's own settings: what files of earlier runs hold is read the way
// those runs meant it, and the menu's check boxes write what the next run reads.
#include <QAction>

#include "console/base/Settings.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

using SettingsTableTest = ConsoleTest;

TEST_F(SettingsTableTest, FlagsReadTheFormsTheyWereStoredInAndDefaultOtherwise)
{
    const struct {
        const Settings::Flag& flag;
        QVariant stored;  // invalid: nothing stored
        bool read;
    } cases[] = {
        {Settings::CheckAfterSend, QVariant(), false},
        {Settings::CheckAfterSend, QStringLiteral("1"), true},
        {Settings::CheckAfterSend, QStringLiteral("0"), false},
        {Settings::CheckAfterSend, QStringLiteral("tak"), false},
        {Settings::IdentifyOnOpen, QVariant(), true},
        {Settings::IdentifyOnOpen, QStringLiteral("false"), false},
        {Settings::IdentifyOnOpen, QStringLiteral(" FALSE "), false},
        {Settings::IdentifyOnOpen, QStringLiteral("0"), true},
        {Settings::IdentifyOnOpen, QStringList{QStringLiteral("a"), QStringLiteral("b")}, true},
        {Settings::LogVisible, QStringLiteral("1"), true},
        {Settings::LogVisible, QStringLiteral("2"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.flag.key) + "=" + c.stored.toString().toStdString());
        StoreRaw(QString::fromLatin1(c.flag.key), c.stored);
        EXPECT_EQ(Settings::Read(c.flag), c.read);
    }
}

TEST_F(SettingsTableTest, TheMenuCheckBoxesKeepTheirSettingForTheNextRun)
{
    TFMain& main = Start();
    EXPECT_FALSE(main.CheckAfterSend->isChecked());
    EXPECT_FALSE(main.Rozpoznawaj1->isChecked());  // the harness turns it off
    main.CheckAfterSend->setChecked(true);
    main.Rozpoznawaj1->setChecked(true);
    EXPECT_EQ(StoredRaw(QStringLiteral("wykonanie/sprawdzajKodBledu")).toString(), QStringLiteral("1"));
    EXPECT_EQ(StoredRaw(QStringLiteral("printer/identify")).toString(), QStringLiteral("true"));
    Stop();
    TFMain& again = Start();
    EXPECT_TRUE(again.CheckAfterSend->isChecked());
    EXPECT_TRUE(again.Rozpoznawaj1->isChecked());
}

}  // namespace
}  // namespace varmo::test
