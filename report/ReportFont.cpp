#include "report/ReportFont.h"

#include <QFontDatabase>
#include <QStringList>

#include "protocol/Exception.h"

namespace varmo {

namespace {

const char* const kFaces[] = {":/varmo/fonts/DejaVuSans.ttf", ":/varmo/fonts/DejaVuSans-Bold.ttf"};

QString loadFamily()
{
    QString family;
    for (const char* face : kFaces) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(face));
        const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        if (families.isEmpty())
            throw Exception(std::string("Brak czcionki raportu (DejaVu Sans): nie można wczytać ") +
                            (face + 2) + "; raport nie powstał");
        if (family.isEmpty())
            family = families.front();
    }
    return family;
}

}  // namespace

QString ReportFontFamily()
{
    // Loaded once a run; a failure is told again at the next report.
    static QString family;
    if (family.isEmpty())
        family = loadFamily();
    return family;
}

}  // namespace varmo
