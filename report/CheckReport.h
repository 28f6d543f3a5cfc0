#pragma once
// What a service check found, written down for the visit's record: the title
// "Przegląd drukarki", when and with what it ran, the line, each step's
// result and what needs attention. As an A4 PDF or as plain text with the
// same content, written all or nothing.
#include <QDateTime>
#include <QString>
#include <string>

#include "exchange/ServiceCheck.h"
#include "report/VisitPart.h"

namespace varmo {

// The report as plain text, UTF-8, lines ended by LF: the head (title, date,
// program, line), each step, then what needs attention; in pieces too, for
// a caller that shows the steps as they come.
std::string CheckReportText(const CheckResult& result, const VisitPart* visit = nullptr);
std::string CheckHeadText(const CheckResult& result);
std::string CheckStepText(const CheckStep& step);
std::string CheckAttentionText(const CheckResult& result);

// The report as the PDF's document shows it (HTML for QTextDocument).
QString CheckReportHtml(const CheckResult& result, const VisitPart* visit = nullptr);

// Plain text when the name ends ".txt" (any case), else an A4 PDF. The file
// is replaced whole or left as it was; Exception with a Polish message
// naming the file and the reason when it cannot be written. The PDF needs a
// QGuiApplication.
// visit: the visit's own part, after the head.
void WriteCheckReport(const QString& path, const CheckResult& result,
                      const VisitPart* visit = nullptr);

// "przeglad-2026-12-07-1412.pdf": the day and the minute of the check.
QString DefaultCheckReportName(const QDateTime& when, const QString& extension = "pdf");

}  // namespace varmo
