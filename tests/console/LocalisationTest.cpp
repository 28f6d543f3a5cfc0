// The toolkit speaks Polish once the translation is loaded.
#include <gtest/gtest.h>

#include <QApplication>

#include "console/base/Localisation.h"

namespace varmo::test {
namespace {

TEST(Localisation, StandardButtonsAndFileDialogsSpeakPolish)
{
    ASSERT_TRUE(LoadPolishTranslation(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("Nazwa &pliku:"));
}

}  // namespace
}  // namespace varmo::test
