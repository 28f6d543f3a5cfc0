// The yardstick for the console's start-up: the barest Qt 6 window of the
// console's size, nothing in it. scripts/startup-bench.sh starts the two in
// turn and compares.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(751, 606);
    window.show();
    return QApplication::exec();
}
