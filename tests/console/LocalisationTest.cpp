// The toolkit speaks Polish once the translation is loaded, and the about
// box says what the program is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "console/Localisation.h"
#include "console/TFormAbout.h"

namespace varmo::test {
namespace {

TEST(Localisation, StandardButtonsAndFileDialogsSpeakPolish)
{
    ASSERT_TRUE(LoadPolishTranslation(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("Nazwa &pliku:"));
}

TEST(AboutBox, NamesTheProgramAndItsVersion)
{
    TFormAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("O programie ..."));
    EXPECT_EQ(about.ProductName->text(), QStringLiteral("Varmo"));
    EXPECT_EQ(about.Comments->text(), QStringLiteral("Program serwisowy do drukarki fiskalnej"));
    EXPECT_EQ(about.Version->text(), QStringLiteral("wersja 1.00"));
    about.show();
    about.OKButton->click();
    EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace varmo::test
