#include "commands/ReportCommands.h"

#include "protocol/Fields.h"

namespace varmo {

namespace {

std::string dateFields(std::int32_t year, std::int32_t month, std::int32_t day, const char* sep)
{
    return TwoDigits(year, 30) + sep + TwoDigits(month, 12) + sep + TwoDigits(day, 31);
}

void oneLine(Lines& lines, std::string line)
{
    lines.clear();
    lines.push_back(std::move(line));
}

}  // namespace

std::string TCmdRepDay::GetBody() const
{
    if (!hasDate_)
        return "#r";
    return "1;" + dateFields(year_, month_, day_, ";") + "#r";
}

void TCmdRepDay::DescribeCommand(Lines& lines) const
{
    lines.clear();
    if (!hasDate_)
        oneLine(lines, "Raport dobowy");
    else
        oneLine(lines, "Raport dobowy za dzień 20" + dateFields(year_, month_, day_, "-"));
}

std::string TCmdRepPeriodDay::GetBody() const
{
    return dateFields(fy_, fm_, fd_, ";") + ";" + dateFields(ly_, lm_, ld_, ";") + ";" +
           std::to_string(type_) + "#o";
}

void TCmdRepPeriodDay::DescribeCommand(Lines& lines) const
{
    lines.clear();
    oneLine(lines, "Raport za okres od " + dateFields(fy_, fm_, fd_, "-") + " do " +
                       dateFields(ly_, lm_, ld_, "-") + " typ: " + std::to_string(type_));
}

std::string TCmdRepPeriodNo::GetBody() const
{
    return std::string(fiscal_ ? "16" : "17") + "#o" + std::to_string(first_) + "/" +
           std::to_string(last_) + "/";
}

void TCmdRepPeriodNo::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Raport z zakresu od " + std::to_string(first_) + " do " +
                       std::to_string(last_) + (fiscal_ ? ", fiskalny" : ", niefiskalny"));
}

std::string TCmdConstDesc::GetBody() const { return "#j"; }

void TCmdConstDesc::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Raport opisów stałych (UWAGA - długi wydruk)");
}

}  // namespace varmo
