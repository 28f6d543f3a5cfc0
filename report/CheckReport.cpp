#include "report/CheckReport.h"

#include "protocol/Escaped.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QFont>

#include <cerrno>

#include "protocol/Exception.h"
#include "report/ReportFont.h"

namespace varmo {

namespace {

const char* const kTitle = "Przegląd drukarki";
const char* const kNothing = "Nic nie wymaga uwagi.";

QString u(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string when(const CheckResult& result)
{
    return result.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

std::string program(const CheckResult& result)
{
    return result.setting.program + " " + result.setting.version;
}

std::string line(const CheckResult& result)
{
    const CheckSetting& s = result.setting;
    std::string text = s.port;
    // Where the port is the device itself (COM1 on Windows), it is named once.
    if (!s.device.empty() && s.device != s.port)
        text += " (" + s.device + ")";
    // The code page as the status line names it.
    const std::string codePage = s.codePage == "maz"   ? "Mazovia"
                                 : s.codePage == "win" ? "Windows-1250"
                                                       : s.codePage;
    return text + ", " + std::to_string(s.baud) + " bit/s, strona kodowa " + codePage;
}

std::string stepTitle(const CheckStep& step)
{
    return step.name + " (" + std::to_string(step.ms) + " ms)";
}

[[noreturn]] void failed(const char* what, const QString& path, const QString& reason)
{
    throw Exception(std::string(what) + QDir::toNativeSeparators(path).toStdString() +
                    (reason.isEmpty() ? std::string() : ": " + reason.toStdString()));
}

}  // namespace

std::string CheckHeadText(const CheckResult& result)
{
    std::string text = std::string(kTitle) + "\n\n";
    text += "Data: " + when(result) + "\n";
    text += "Program: " + program(result) + "\n";
    // The printer's and the path's bytes never reach a terminal raw.
    return ControlsEscaped(text + "Port: " + line(result) + "\n", true);
}

std::string CheckStepText(const CheckStep& step)
{
    std::string text = "\n" + stepTitle(step) + "\n";
    for (const std::string& row : step.result)
        text += "  " + row + "\n";
    return ControlsEscaped(text, true);
}

std::string CheckAttentionText(const CheckResult& result)
{
    std::string text = "\nDo uwagi:\n";
    const Lines attention = result.Attention();
    if (attention.empty())
        text += std::string("  ") + kNothing + "\n";
    for (const std::string& note : attention)
        text += "  - " + note + "\n";
    return ControlsEscaped(text, true);
}

std::string CheckReportText(const CheckResult& result, const VisitPart* visit)
{
    std::string text = CheckHeadText(result);
    if (visit)
        text += VisitPartText(*visit);
    for (const CheckStep& step : result.steps)
        text += CheckStepText(step);
    return text + CheckAttentionText(result);
}

QString CheckReportHtml(const CheckResult& result, const VisitPart* visit)
{
    QString html = QStringLiteral("<h1>%1</h1>").arg(u(kTitle));
    html += QStringLiteral("<p>Data: %1<br>Program: %2<br>Port: %3</p>")
                .arg(u(when(result)).toHtmlEscaped(), u(program(result)).toHtmlEscaped(),
                     u(line(result)).toHtmlEscaped());
    if (visit)
        html += VisitPartHtml(*visit);
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">"
                           "<tr><th>Krok</th><th>Wynik</th><th>Czas</th></tr>");
    for (const CheckStep& step : result.steps) {
        QStringList rows;
        for (const std::string& row : step.result)
            rows << u(row).toHtmlEscaped();
        const QString colour = step.attention.empty() ? QString() : QStringLiteral(" style=\"color:#c00000\"");
        html += QStringLiteral("<tr><td%1>%2</td><td%1><span style=\"white-space:pre-wrap\">%3</span></td><td align=\"right\">%4 ms</td></tr>")
                    .arg(colour, u(step.name).toHtmlEscaped(), rows.join(QStringLiteral("<br>")),
                         QString::number(step.ms));
    }
    html += QStringLiteral("</table><h2>Do uwagi</h2>");
    const Lines attention = result.Attention();
    if (attention.empty())
        html += QStringLiteral("<p>%1</p>").arg(u(kNothing));
    else {
        html += QStringLiteral("<ul style=\"color:#c00000\">");
        for (const std::string& note : attention)
            html += QStringLiteral("<li>%1</li>").arg(u(note).toHtmlEscaped());
        html += QStringLiteral("</ul>");
    }
    return html;
}

// A write that failed: the old file stays. The system's number is the
// reason when there is one; Qt has only "Unknown error" for a write that
// fails inside its buffer.
[[noreturn]] void writeFailed(QSaveFile& file, const QString& path, int systemError)
{
    const QString reason = systemError != 0 ? qt_error_string(systemError) : file.errorString();
    file.cancelWriting();
    failed("Błąd zapisu pliku ", path, reason);
}

void WriteCheckReport(const QString& path, const CheckResult& result, const VisitPart* visit)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failed("Nie można utworzyć pliku ", path, file.errorString());
    if (path.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) {
        const std::string text = CheckReportText(result, visit);
        errno = 0;
        if (file.write(text.data(), static_cast<qint64>(text.size())) !=
                static_cast<qint64>(text.size()) ||
            file.error() != QFileDevice::NoError)
            writeFailed(file, path, errno);
    } else {
        // The writer finishes its file when it goes, before the commit.
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setTitle(u(kTitle));
        pdf.setCreator(u(program(result)));
        QTextDocument document;
        // Its own font, never the system's choice (nor boxes, where it has none).
        document.setDefaultFont(QFont(ReportFontFamily(), 10));
        document.setHtml(CheckReportHtml(result, visit));
        document.print(&pdf);
    }
    // A short report sits whole in the file's buffer, and a full disk or a
    // file size limit refuses it only at the flush, which commit() would
    // pass over and put the empty or cut file in the old one's place. So
    // the flush is done and checked here first.
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        writeFailed(file, path, errno);
    if (!file.commit())
        failed("Błąd zapisu pliku ", path, file.errorString());
}

QString DefaultCheckReportName(const QDateTime& when, const QString& extension)
{
    return QStringLiteral("przeglad-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmm")) +
           QLatin1Char('.') + extension;
}

}  // namespace varmo
