#pragma once
// The report's own font: DejaVu Sans (regular and bold), from Debian's
// fonts-dejavu-core, built into the programs, so that a report reads the
// same wherever it is made, whatever fonts the system has or lacks.
#include <QString>

namespace varmo {

// The font's family, loaded on first use. Exception "Brak czcionki raportu
// (DejaVu Sans)…" when it cannot be loaded: a report without its font would
// carry boxes where the text should be.
QString ReportFontFamily();

}  // namespace varmo
