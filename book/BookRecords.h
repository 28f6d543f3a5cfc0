#pragma once
// What the visit book keeps and gives back: a printer by its unique number,
// its visits, and in each visit the checks made, the settings the printer
// took and the files written. Times are this computer's local time.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "protocol/Types.h"

namespace varmo::book {

using Rates = std::array<std::int32_t, 7>;
using Totals = std::array<Amount, 7>;

// What one contact learnt of the printer: at least its unique number.
struct PrinterSeen {
    QString uniqueNumber;
    bool fiscal = false;
    std::optional<QString> nip;
    std::optional<QStringList> header;
    std::optional<Rates> rates;
};

// A visit as it begins: who, where, with what.
struct VisitStart {
    QDateTime when;
    QString technician;
    QString port;
    QString program;  // "Varmo" or "varmo-cli"
    // The console keeps the visit open while it runs: it is marked as this
    // process's, so that one left open by a console that died is ended.
    bool held = false;
};

// The values of one service check that the next visit compares with.
struct CheckValues {
    QDateTime made;
    std::optional<std::int64_t> clockOffset;  // printer less computer, seconds
    std::optional<std::int32_t> errorNumber;
    std::optional<std::int32_t> zeroings;
    std::optional<std::int32_t> lastReceipt;
    std::optional<Totals> totals;
    std::optional<QStringList> header;
    std::optional<Rates> rates;
    std::optional<bool> fiscal;
};

// A check as kept: its values, and every step's lines as the report shows them.
struct CheckRecord {
    QString id;  // the check's own, from the moment it was read
    CheckValues values;
    QStringList attention;
    QString stepsJson;  // [{"name","answered","result":[..],"attention":[..]}]
};

// A setting command the printer took during the visit.
struct SettingRecord {
    QDateTime made;
    QString what;    // "Zegar", "Nagłówek", "Stawki", "Data przeglądu", ...
    QString detail;  // what was set, in words
    std::optional<std::int64_t> offsetBefore;  // the clock's, when it was set
    std::optional<std::int64_t> offsetAfter;
};

struct PrinterRow {
    qint64 id = 0;
    QString uuid;
    QString uniqueNumber;
    QString nip;
    bool fiscal = false;
    QString headerFirstLine;
    QDateTime firstSeen;
    QDateTime lastSeen;
    QDateTime lastVisit;
    std::optional<QDate> nextInspection;
    std::optional<qint64> dueInDays;  // from today; below 0 overdue
    int visits = 0;
};

struct VisitRow {
    qint64 id = 0;
    QString uuid;
    QString uniqueNumber;
    QDateTime started;
    QDateTime ended;  // not valid while the visit goes on
    QString technician;
    QString port;
    QString program;
    QString notes;
    int checks = 0;
    int settings = 0;
};

struct VisitDetail {
    VisitRow visit;
    std::vector<CheckRecord> checks;
    std::vector<SettingRecord> settings;
    QStringList files;
};

}  // namespace varmo::book
