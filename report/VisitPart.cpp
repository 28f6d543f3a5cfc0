#include "report/VisitPart.h"

#include <QRegularExpression>
#include <QStringList>

namespace varmo {

namespace {

QString u(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool isRed(const VisitPart& part, const std::string& line)
{
    for (const std::string& red : part.sinceLastRed)
        if (line == red)
            return true;
    return false;
}

std::string inspectionText(const VisitPart& part)
{
    if (!part.nextInspection)
        return "nieznany";
    const qint64 days = QDate::currentDate().daysTo(*part.nextInspection);
    return part.nextInspection->toString(Qt::ISODate).toStdString() +
           (days < 0 ? " (po terminie o " + std::to_string(-days) + " dni)"
                     : " (za " + std::to_string(days) + " dni)");
}

}  // namespace

std::string VisitPartText(const VisitPart& part)
{
    std::string text;
    if (!part.uniqueNumber.empty())
        text += "Drukarka: " + part.uniqueNumber + "\n";
    if (!part.technician.empty())
        text += "Technik: " + part.technician + "\n";
    if (!part.notes.empty())
        text += "Uwagi: " + part.notes + "\n";
    if (!part.uniqueNumber.empty())
        text += "Następny przegląd: " + inspectionText(part) + "\n";
    if (!part.bookProblem.empty())
        text += "Księga wizyt: " + part.bookProblem + "\n";
    if (part.firstVisit)
        text += "\nOd ostatniej wizyty:\n  pierwsza wizyta w księdze\n";
    else if (!part.sinceLast.empty()) {
        text += "\nOd ostatniej wizyty:\n";
        for (const std::string& line : part.sinceLast)
            text += (isRed(part, line) ? "  ! " : "  ") + line + "\n";
    }
    return text.empty() ? text : "\n" + text;
}

QString VisitPartHtml(const VisitPart& part)
{
    QStringList head;
    if (!part.uniqueNumber.empty())
        head << QStringLiteral("Drukarka: ") + u(part.uniqueNumber).toHtmlEscaped();
    if (!part.technician.empty())
        head << QStringLiteral("Technik: ") + u(part.technician).toHtmlEscaped();
    if (!part.notes.empty())
        head << QStringLiteral("Uwagi: ") + u(part.notes).toHtmlEscaped();
    if (!part.uniqueNumber.empty())
        head << QStringLiteral("Następny przegląd: ") + u(inspectionText(part)).toHtmlEscaped();
    if (!part.bookProblem.empty())
        head << QStringLiteral("Księga wizyt: ") + u(part.bookProblem).toHtmlEscaped();
    QString html = head.isEmpty() ? QString() : QStringLiteral("<p>%1</p>").arg(head.join(QStringLiteral("<br>")));
    if (part.firstVisit)
        html += QStringLiteral("<h2>Od ostatniej wizyty</h2><p>pierwsza wizyta w księdze</p>");
    else if (!part.sinceLast.empty()) {
        html += QStringLiteral("<h2>Od ostatniej wizyty</h2><ul>");
        for (const std::string& line : part.sinceLast)
            html += QStringLiteral("<li%1>%2</li>")
                        .arg(isRed(part, line) ? QStringLiteral(" style=\"color:#c00000\"") : QString(),
                             u(line).toHtmlEscaped());
        html += QStringLiteral("</ul>");
    }
    return html;
}

QString CheckReportNameFor(const std::string& uniqueNumber, const QDateTime& when,
                           const QString& extension)
{
    // Only what a file name takes on every system.
    QString number = u(uniqueNumber);
    number.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9_-]")));
    return QStringLiteral("przeglad-") + (number.isEmpty() ? QString() : number + QLatin1Char('-')) +
           when.toString(QStringLiteral("yyyy-MM-dd-HHmm")) + QLatin1Char('.') + extension;
}

}  // namespace varmo
