#include "console/base/ProgramVersion.h"

namespace varmo {

namespace {

bool allDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

}  // namespace

QString AboutVersionLine(std::string_view version)
{
    const std::size_t dot = version.find('.');
    const std::string_view major = version.substr(0, dot);
    std::string_view minor = dot == std::string_view::npos ? "0" : version.substr(dot + 1);
    minor = minor.substr(0, minor.find('.'));  // a patch number stays off the box
    if (!allDigits(major) || !allDigits(minor) || minor.size() > 2)
        return QStringLiteral("wersja ") + QString::fromUtf8(version.data(), qsizetype(version.size()));
    QString line = QStringLiteral("wersja ") + QString::fromUtf8(major.data(), qsizetype(major.size()))
                   + QLatin1Char('.');
    if (minor.size() == 1)
        line += QLatin1Char('0');
    return line + QString::fromUtf8(minor.data(), qsizetype(minor.size()));
}

}  // namespace varmo
