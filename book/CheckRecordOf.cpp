#include "book/CheckRecordOf.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "protocol/Cp1250.h"

namespace varmo::book {

namespace {

QStringList texts(const Lines& lines)
{
    QStringList list;
    for (const std::string& line : lines)
        list << QString::fromStdString(line);
    return list;
}

}  // namespace

CheckRecord CheckRecordOf(const CheckResult& result)
{
    CheckRecord record;
    record.id = result.id;
    CheckValues& values = record.values;
    values.made = result.started;
    values.clockOffset = result.clockDifference;
    values.errorNumber = result.errorNumber;
    if (result.header)
        values.header = texts(*result.header);
    if (result.cash) {
        values.zeroings = result.cash->zeroings;
        values.lastReceipt = result.cash->lastReceipt;
        values.totals = result.cash->totals;
        values.rates = result.cash->rates;
        values.fiscal = result.cash->fiscal;
    }
    record.attention = texts(result.Attention());
    QJsonArray steps;
    for (const CheckStep& step : result.steps)
        steps.append(QJsonObject{{QStringLiteral("name"), QString::fromStdString(step.name)},
                                 {QStringLiteral("answered"), step.answered},
                                 {QStringLiteral("result"), QJsonArray::fromStringList(texts(step.result))},
                                 {QStringLiteral("attention"),
                                  QJsonArray::fromStringList(texts(step.attention))}});
    record.stepsJson = QString::fromUtf8(QJsonDocument(steps).toJson(QJsonDocument::Compact));
    return record;
}

PrinterSeen PrinterSeenOf(const CashInfo& cash)
{
    PrinterSeen seen;
    seen.uniqueNumber = QString::fromStdString(Cp1250ToUtf8(cash.uniqueNumber));
    seen.fiscal = cash.fiscal;
    seen.rates = cash.rates;
    return seen;
}

std::optional<PrinterSeen> PrinterSeenIn(const CheckResult& result)
{
    if (!result.cash || result.cash->uniqueNumber.empty())
        return std::nullopt;
    PrinterSeen seen = PrinterSeenOf(*result.cash);
    if (result.header)
        seen.header = texts(*result.header);
    return seen;
}

}  // namespace varmo::book
