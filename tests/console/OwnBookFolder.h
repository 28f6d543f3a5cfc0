#pragma once
// A test's own visit book: the console looks for it in this folder while the
// object lives, so the books of the tests before stay in theirs. And a
// table's column as the operator reads it.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTableWidget>

namespace varmo::test {

class OwnBookFolder {
public:
    explicit OwnBookFolder(const QString& folder) : previous_(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", folder.toLocal8Bit());
    }
    ~OwnBookFolder() { qputenv("XDG_DATA_HOME", previous_); }
    OwnBookFolder(const OwnBookFolder&) = delete;
    OwnBookFolder& operator=(const OwnBookFolder&) = delete;

private:
    QByteArray previous_;
};

inline QStringList TableColumn(const QTableWidget* table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->item(row, column)->text();
    return texts;
}

}  // namespace varmo::test
