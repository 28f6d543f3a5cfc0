#include "book/BookJson.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "book/VisitBook.h"

namespace varmo::book {

namespace {

QJsonValue timeJson(const QDateTime& time)
{
    return time.isValid() ? QJsonValue(BookTime(time)) : QJsonValue(QJsonValue::Null);
}

template <typename T, std::size_t N>
QJsonValue arrayJson(const std::optional<std::array<T, N>>& values)
{
    if (!values)
        return QJsonValue::Null;
    QJsonArray array;
    for (const T value : *values)
        array.append(static_cast<qint64>(value));
    return array;
}

template <typename T>
QJsonValue optionalJson(const std::optional<T>& value)
{
    return value ? QJsonValue(static_cast<qint64>(*value)) : QJsonValue(QJsonValue::Null);
}

}  // namespace

QJsonObject PrinterJson(const PrinterRow& row)
{
    return QJsonObject{
        {QStringLiteral("uuid"), row.uuid},
        {QStringLiteral("uniqueNumber"), row.uniqueNumber},
        {QStringLiteral("nip"), row.nip.isEmpty() ? QJsonValue(QJsonValue::Null) : row.nip},
        {QStringLiteral("fiscal"), row.fiscal},
        {QStringLiteral("header"), row.headerFirstLine},
        {QStringLiteral("firstSeen"), timeJson(row.firstSeen)},
        {QStringLiteral("lastSeen"), timeJson(row.lastSeen)},
        {QStringLiteral("lastVisit"), timeJson(row.lastVisit)},
        {QStringLiteral("visits"), row.visits},
        {QStringLiteral("nextInspection"),
         row.nextInspection ? QJsonValue(row.nextInspection->toString(Qt::ISODate))
                            : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("dueInDays"), optionalJson(row.dueInDays)},
        {QStringLiteral("overdue"), row.dueInDays && *row.dueInDays < 0}};
}

QJsonObject VisitJson(const VisitRow& row)
{
    return QJsonObject{{QStringLiteral("id"), row.id},
                       {QStringLiteral("uuid"), row.uuid},
                       {QStringLiteral("uniqueNumber"), row.uniqueNumber},
                       {QStringLiteral("started"), timeJson(row.started)},
                       {QStringLiteral("ended"), timeJson(row.ended)},
                       {QStringLiteral("technician"), row.technician},
                       {QStringLiteral("port"), row.port},
                       {QStringLiteral("program"), row.program},
                       {QStringLiteral("notes"), row.notes},
                       {QStringLiteral("checks"), row.checks},
                       {QStringLiteral("settings"), row.settings}};
}

QJsonObject VisitDetailJson(const VisitDetail& detail)
{
    QJsonObject json = VisitJson(detail.visit);
    QJsonArray checks;
    for (const CheckRecord& check : detail.checks) {
        const CheckValues& v = check.values;
        checks.append(QJsonObject{
            {QStringLiteral("made"), timeJson(v.made)},
            {QStringLiteral("clockOffset"), optionalJson(v.clockOffset)},
            {QStringLiteral("errorNumber"), optionalJson(v.errorNumber)},
            {QStringLiteral("zeroings"), optionalJson(v.zeroings)},
            {QStringLiteral("lastReceipt"), optionalJson(v.lastReceipt)},
            {QStringLiteral("totals"), arrayJson(v.totals)},
            {QStringLiteral("rates"), arrayJson(v.rates)},
            {QStringLiteral("header"), v.header ? QJsonValue(QJsonArray::fromStringList(*v.header))
                                                : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("attention"), QJsonArray::fromStringList(check.attention)},
            {QStringLiteral("steps"), QJsonDocument::fromJson(check.stepsJson.toUtf8()).array()}});
    }
    QJsonArray settings;
    for (const SettingRecord& setting : detail.settings)
        settings.append(QJsonObject{{QStringLiteral("made"), timeJson(setting.made)},
                                    {QStringLiteral("what"), setting.what},
                                    {QStringLiteral("detail"), setting.detail},
                                    {QStringLiteral("offsetBefore"), optionalJson(setting.offsetBefore)},
                                    {QStringLiteral("offsetAfter"), optionalJson(setting.offsetAfter)}});
    json.insert(QStringLiteral("checkList"), checks);
    json.insert(QStringLiteral("settingList"), settings);
    json.insert(QStringLiteral("files"), QJsonArray::fromStringList(detail.files));
    return json;
}

}  // namespace varmo::book
