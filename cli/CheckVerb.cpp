#include "cli/CheckVerb.h"

#include <QJsonArray>
#include <iostream>

#include "cli/Failure.h"
#include "cli/LinkChoice.h"
#include "cli/Output.h"
#include "cli/Session.h"
#include "link/DeviceMapping.h"
#include "protocol/ErrorTexts.h"
#include "protocol/Fields.h"
#include "protocol/StatusBits.h"
#include "report/CheckReport.h"

namespace varmo::cli {

namespace {

// Every text escaped for a terminal: the header and the unique number are
// the printer's bytes, the port and device what the operator or the
// environment named.
QString utf8(const std::string& text)
{
    return QString::fromStdString(TerminalText(text));
}

// The report's text for people, a line at a time fit for a terminal.
std::string shown(const std::string& text)
{
    return TerminalText(text, true);
}


QJsonValue statusJson(const std::optional<unsigned char>& status, bool fromEnq)
{
    if (!status)
        return QJsonValue::Null;
    QJsonObject json = StatusJson(*status, fromEnq);
    json.insert(QStringLiteral("words"), TextArray(StatusWords(*status, fromEnq)));
    return json;
}

QString isoTime(const QDateTime& time)
{
    return time.toString(Qt::ISODate);
}

QJsonValue clockJson(const CheckResult& result)
{
    if (!result.printerTime)
        return QJsonValue::Null;
    const std::int64_t difference = *result.clockDifference;
    return QJsonObject{
        {QStringLiteral("printer"), isoTime(*result.printerTime)},
        {QStringLiteral("computer"), isoTime(result.computerTime)},
        {QStringLiteral("differenceSeconds"), static_cast<qint64>(difference)},
        {QStringLiteral("needsCorrection"), ClockNeedsCorrection(difference)}};
}

// An amount with two decimals, or four where the printer keeps them: "12.50".
QString amountText(Amount amount)
{
    const Amount whole = amount / 10000;
    const Amount part = (amount < 0 ? -amount : amount) % 10000;
    const bool cents = part % 100 == 0;
    return QStringLiteral("%1%2.%3")
        .arg(amount < 0 && whole == 0 ? QStringLiteral("-") : QString())
        .arg(whole)
        .arg(cents ? part / 100 : part, cents ? 2 : 4, 10, QLatin1Char('0'));
}

QJsonArray amounts(const std::array<Amount, 7>& values)
{
    QJsonArray array;
    for (const Amount value : values)
        array.append(amountText(value));
    return array;
}

QJsonValue cashJson(const std::optional<CashInfo>& cash)
{
    if (!cash)
        return QJsonValue::Null;
    QJsonArray rates;
    QJsonArray rateTexts;
    for (const std::int32_t rate : cash->rates) {
        rates.append(rate);
        rateTexts.append(utf8(RateText(rate)));
    }
    const QString lastRecord = QStringLiteral("%1-%2-%3")
                                   .arg(2000 + cash->year)
                                   .arg(cash->month, 2, 10, QLatin1Char('0'))
                                   .arg(cash->day, 2, 10, QLatin1Char('0'));
    return QJsonObject{{QStringLiteral("lastError"), cash->lastError},
                       {QStringLiteral("fiscal"), cash->fiscal},
                       {QStringLiteral("transactionMode"), cash->transactionMode},
                       {QStringLiteral("lastTransactionCorrect"), cash->lastTransactionCorrect},
                       {QStringLiteral("zeroings"), cash->zeroings},
                       {QStringLiteral("lastRecordDate"), lastRecord},
                       {QStringLiteral("rates"), rates},
                       {QStringLiteral("rateTexts"), rateTexts},
                       {QStringLiteral("lastReceipt"), cash->lastReceipt},
                       {QStringLiteral("totals"), amounts(cash->totals)},
                       {QStringLiteral("cash"), amountText(cash->cash)},
                       {QStringLiteral("uniqueNumber"), utf8(cash->uniqueNumber)}};
}

QJsonValue errorJson(const std::optional<std::int32_t>& number)
{
    if (!number)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("number"), *number},
                       {QStringLiteral("text"), utf8(ErrorText(*number))}};
}

bool healthy(const CheckResult& result)
{
    return result.AllAnswered() && result.Attention().empty();
}

// The check's last words: what needs attention, or "Nic nie wymaga uwagi.".
// A visit that was to go into the book and is not there does need the
// technician: the last line says so, and nothing says all is well.
std::string closingText(const CheckResult& result, const std::optional<std::string>& unrecorded)
{
    if (!unrecorded)
        return shown(CheckAttentionText(result));
    std::string text = result.Attention().empty() ? std::string() : shown(CheckAttentionText(result));
    std::string reason = *unrecorded;
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' '))
        reason.pop_back();
    return text + "\n" + TerminalText("Wizyty nie zapisano w księdze wizyt: " + reason + ".") + "\n";
}

void writeReport(const std::optional<std::string>& path, const CheckResult& result,
                 const VisitPart& visit, std::vector<std::string>& written)
{
    if (!path)
        return;
    try {
        WriteCheckReport(QString::fromStdString(*path), result, &visit);
        written.push_back(*path);
    } catch (const std::exception& error) {
        throw CliFailure(ExitCode::Refused, std::string("check: ") + error.what());
    }
}

}  // namespace

CheckOptions ParseCheckOptions(const std::vector<std::string>& words)
{
    CheckOptions options;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--json") {
            options.json = true;
        } else if (word == "--pdf" || word == "--text") {
            if (i + 1 >= words.size() || words[i + 1].empty())
                throw UsageError("check: " + word + " wymaga nazwy pliku");
            (word == "--pdf" ? options.pdf : options.text) = words[++i];
        } else if (word == "--no-book") {
            options.visit.record = false;
        } else if (word == "--technician" || word == "--note") {
            if (i + 1 >= words.size())
                throw UsageError("check: " + word + " wymaga tekstu");
            (word == "--note" ? options.visit.note : options.visit.technician.emplace()) =
                words[++i];
        } else {
            throw UsageError("check: użycie: check [--json] [--pdf FILE] [--text FILE] "
                             "[--no-book] [--technician NAME] [--note TEXT]");
        }
    }
    return options;
}

QJsonObject CheckJson(const CheckResult& result)
{
    QJsonArray steps;
    for (const CheckStep& step : result.steps)
        steps.append(QJsonObject{{QStringLiteral("name"), utf8(step.name)},
                                 {QStringLiteral("answered"), step.answered},
                                 {QStringLiteral("result"), TextArray(step.result)},
                                 {QStringLiteral("attention"), TextArray(step.attention)},
                                 {QStringLiteral("ms"), static_cast<qint64>(step.ms)}});
    const CheckSetting& setting = result.setting;
    return QJsonObject{
        {QStringLiteral("program"), utf8(setting.program)},
        {QStringLiteral("version"), utf8(setting.version)},
        {QStringLiteral("date"), isoTime(result.started)},
        {QStringLiteral("port"), utf8(setting.port)},
        {QStringLiteral("device"), utf8(setting.device)},
        {QStringLiteral("speed"), setting.baud},
        {QStringLiteral("codePage"), utf8(setting.codePage)},
        {QStringLiteral("steps"), steps},
        {QStringLiteral("enq"), statusJson(result.enq, true)},
        {QStringLiteral("dle"), statusJson(result.dle, false)},
        {QStringLiteral("lastError"), errorJson(result.errorNumber)},
        {QStringLiteral("clock"), clockJson(result)},
        {QStringLiteral("header"),
         result.header ? QJsonValue(TextArray(*result.header)) : QJsonValue::Null},
        {QStringLiteral("cash"), cashJson(result.cash)},
        {QStringLiteral("allAnswered"), result.AllAnswered()},
        {QStringLiteral("attention"), TextArray(result.Attention())},
        {QStringLiteral("ok"), healthy(result)}};
}

int RunCheck(Session& session, const LinkChoice& link, const CheckOptions& options,
             CheckVisit& visit, std::ostream& out)
{
    CheckSetting setting;
    setting.port = link.named.toStdString();
    setting.device = DevicePathForPort(link.port).toStdString();
    setting.baud = link.baud;
    setting.codePage = link.codePage;
    setting.program = "varmo-cli";
    setting.version = VARMO_VERSION;

    if (!options.json) {
        CheckResult head;
        head.setting = setting;
        head.started = QDateTime::currentDateTime();
        out << shown(CheckHeadText(head)) << std::flush;
    }
    const CheckResult result =
        ServiceCheck::Run(session.Exchange(), setting, [&](const CheckStep& step) {
            if (!options.json)
                out << shown(CheckStepText(step)) << std::flush;
        });
    visit.LookUp(result);
    if (!options.json)
        out << shown(VisitPartText(visit.Part()));
    out.flush();
    // The visit is kept whether or not its report could be written; what
    // ends the output says whether it was, so it comes after. True when the
    // visit was to be kept and is not.
    const auto finish = [&](const std::vector<std::string>& written) {
        visit.Record(result, written);
        const std::optional<std::string> unrecorded = visit.Unrecorded();
        if (options.json) {
            QJsonObject json = CheckJson(result);
            json.insert(QStringLiteral("visit"), visit.Json());
            out << JsonLine(json) << '\n';
        } else {
            out << closingText(result, unrecorded);
        }
        out.flush();
        return unrecorded.has_value();
    };
    std::vector<std::string> written;
    try {
        writeReport(options.pdf, result, visit.Part(), written);
        writeReport(options.text, result, visit.Part(), written);
    } catch (const CliFailure& failure) {
        if (finish(written))
            throw CliFailure(ExitCode::NotRecorded, failure.what());
        throw;
    }
    if (finish(written))
        return static_cast<int>(ExitCode::NotRecorded);
    return healthy(result) ? 0 : static_cast<int>(ExitCode::Refused);
}

}  // namespace varmo::cli
