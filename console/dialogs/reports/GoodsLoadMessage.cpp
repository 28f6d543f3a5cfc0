#include "console/dialogs/reports/GoodsLoadMessage.h"

#include <QFileInfo>
#include <QStringList>

#include "console/dialogs/reports/GoodsTable.h"

namespace varmo {

// The file's reader tells of the names that the list cuts.
static_assert(GoodsTable::kNameWidth == static_cast<int>(kGoodsNameWidth));

namespace {

// "1 wiersz", "3 wiersze", "5 wierszy", "22 wiersze", "12 wierszy".
QString counted(std::size_t n, const char* one, const char* few, const char* many)
{
    const std::size_t units = n % 10;
    const std::size_t tens = n % 100;
    const char* word = n == 1                                                ? one
                       : units >= 2 && units <= 4 && (tens < 12 || tens > 14) ? few
                                                                              : many;
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

QString why(GoodsLineFault fault)
{
    switch (fault) {
    case GoodsLineFault::NoSemicolon:
        return QStringLiteral("brak średnika – pominięty");
    case GoodsLineFault::BadRate:
        return QStringLiteral("po średniku brak litery stawki od A do G – pominięty");
    case GoodsLineFault::NoName:
        return QStringLiteral("brak nazwy przed średnikiem – pominięty");
    case GoodsLineFault::NameCut:
        return QStringLiteral("nazwa dłuższa niż %1 znaków – skrócona").arg(kGoodsNameWidth);
    }
    return {};
}

}  // namespace

QString GoodsLoadMessage(const QString& path, std::size_t loaded, const GoodsFileNotes& notes)
{
    const QString file = QFileInfo(path).fileName();
    if (loaded > 0 && notes.Empty())
        return {};
    QStringList lines;
    if (loaded == 0)
        lines << QStringLiteral("Plik %1 nie zawiera żadnych towarów; lista jest teraz pusta.")
                     .arg(file);
    else
        lines << QStringLiteral("Z pliku %1 wczytano %2.")
                     .arg(file, counted(loaded, "towar", "towary", "towarów"));
    if (notes.Empty())
        return lines.join(QLatin1Char('\n'));

    QStringList what;
    if (notes.skipped > 0)
        what << counted(notes.skipped, "wiersz", "wiersze", "wierszy");
    if (notes.cut > 0)
        what << counted(notes.cut, "nazwę", "nazwy", "nazw");
    if (notes.skipped > 0 && notes.cut > 0)
        lines << QStringLiteral("Pominięto %1 i skrócono %2:").arg(what[0], what[1]);
    else if (notes.skipped > 0)
        lines << QStringLiteral("Pominięto %1:").arg(what[0]);
    else
        lines << QStringLiteral("Skrócono %1:").arg(what[0]);
    for (const GoodsLineNote& note : notes.first)
        lines << QStringLiteral("wiersz %1: %2").arg(note.line).arg(why(note.fault));
    const std::size_t more = notes.skipped + notes.cut - notes.first.size();
    if (more > 0)
        lines << QStringLiteral("i jeszcze %1").arg(counted(more, "wiersz", "wiersze", "wierszy"));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace varmo
