// The varmo-cli tests start processes and wait on them, which wants an
// application object; nothing here needs widgets.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
