#pragma once
// The console speaks Polish: the toolkit's own texts (file dialogs, "OK",
// "Anuluj") come from Qt's Polish translation, and money in descriptions
// follows the operator's regional settings.
class QCoreApplication;

namespace varmo {

// Loads qtbase_pl into the application and makes Polish the default locale of
// the toolkit's own widgets; false when the translation is not installed.
bool LoadPolishTranslation(QCoreApplication& app);

// Fills the core's regional hook from the system locale: the decimal
// separator, and money with the currency symbol, grouping and two decimals.
// The bare C locale says nothing about money, so it keeps the Polish default.
void UseSystemRegionalFormat();

}  // namespace varmo
