// The handler guard: what the standard error box says, and that an exception
// never leaves a handler.
#include <gtest/gtest.h>

#include <stdexcept>

#include "console/base/HandlerGuard.h"
#include "protocol/Exception.h"
#include "tests/console/RecordingPrompts.h"

namespace varmo::test {
namespace {

TEST(StandardErrorText, AddsAFullStopOnlyAfterCharactersThatSortAfterIt)
{
    const struct {
        QString message;
        QString shown;
    } cases[] = {
        {QStringLiteral("Nieprawdłowy format"), QStringLiteral("Nieprawdłowy format.")},
        {QStringLiteral("Koniec."), QStringLiteral("Koniec.")},
        {QStringLiteral("Uwaga!"), QStringLiteral("Uwaga!")},     // '!' sorts before '.'
        {QStringLiteral("(kod 5)"), QStringLiteral("(kod 5)")},   // ')' too
        {QStringLiteral("a,"), QStringLiteral("a,")},
        {QStringLiteral("a-"), QStringLiteral("a-")},
        {QStringLiteral("a "), QStringLiteral("a ")},
        {QStringLiteral("a/"), QStringLiteral("a/.")},           // '/' is right after '.'
        {QStringLiteral("(win error code: 2)"), QStringLiteral("(win error code: 2)")},
        {QStringLiteral("Unable to open com port (win error code: 13"),
         QStringLiteral("Unable to open com port (win error code: 13.")},
        {QStringLiteral("żółć"), QStringLiteral("żółć.")},
        {QStringLiteral("x\U0001F600"), QStringLiteral("x\U0001F600.")},  // one character, two halves
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StandardErrorText(c.message), c.shown) << c.message.toStdString();
}

class GuardTest : public ::testing::Test {
protected:
    void SetUp() override { previous_ = InstallPrompts(&prompts); }
    void TearDown() override { InstallPrompts(previous_); }
    RecordingPrompts prompts;

private:
    Prompts* previous_ = nullptr;
};

TEST_F(GuardTest, ShowsEveryExceptionOnceAndCarriesOn)
{
    bool after = false;
    EXPECT_FALSE(Guarded([&] {
        throw EConvertError("'1x' is not a valid integer value");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_FALSE(Guarded([] { throw std::runtime_error("Nie można"); }));
    EXPECT_FALSE(Guarded([] { throw 42; }));
    EXPECT_TRUE(Guarded([] {}));

    const std::vector<Shown> expected{
        ErrorBox(QStringLiteral("'1x' is not a valid integer value.")),
        ErrorBox(QStringLiteral("Nie można.")),
        ErrorBox(QStringLiteral("Nieznany błąd.")),
    };
    EXPECT_EQ(prompts.shown, expected);
}

}  // namespace
}  // namespace varmo::test
