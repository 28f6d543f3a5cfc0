#include "console/base/Localisation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "protocol/Regional.h"

namespace varmo {

bool LoadPolishTranslation(QCoreApplication& app)
{
    // The dialogs' own dates and numbers read the Polish way too.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Polish, QLocale::Poland), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void UseSystemRegionalFormat()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C)
        return;
    RegionalFormat format;
    format.decimalSeparator = system.decimalPoint().toStdString();
    format.money = [system](Amount amount) {
        return system
            .toCurrencyString(static_cast<double>(amount) / kAmountOne, system.currencySymbol(), 2)
            .toStdString();
    };
    SetRegionalFormat(std::move(format));
}

}  // namespace varmo
