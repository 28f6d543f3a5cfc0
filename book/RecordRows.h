#pragma once
// A check and a setting as rows of their tables: one bind and one read
// each, by the columns' names in the records' description, so the book's
// write, its reads and the shared book's travel all hold the same columns.
#include "book/BookRecords.h"
#include "book/RecordTables.h"

namespace varmo::book {

Row CheckRow(const CheckRecord& check);
CheckRecord CheckFrom(const Row& row);

Row SettingRow(const SettingRecord& setting);
SettingRecord SettingFrom(const Row& row);

}  // namespace varmo::book
