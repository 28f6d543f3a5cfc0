// The second yardstick for the console's start-up: the least a console can
// show. A main window of the console's size with a five-menu bar, one
// fixed-pitch text view holding two lines of Polish text, and a message in
// the status bar. It pays for fonts and menus, which the bare window does not.
#include <QApplication>
#include <QFontDatabase>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("text"));
    for (const char* menu : {"Ustawienia", "Odczyt", "Raporty", "Inne", "O programie"})
        window.menuBar()->addMenu(QString::fromUtf8(menu));
    auto* text = new QPlainTextEdit(&window);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setPlainText(QStringLiteral("Zażółć gęślą jaźń.\nOdczytany nagłówek: Sklep Spożywczy"));
    window.setCentralWidget(text);
    window.statusBar()->showMessage(QStringLiteral("COM1 (/dev/ttyS0)  9600 bd  zamknięty"));
    window.resize(751, 606);
    window.show();
    return QApplication::exec();
}
