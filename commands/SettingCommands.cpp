#include "commands/SettingCommands.h"

#include "commands/DescriptionText.h"
#include "protocol/Cp1250.h"
#include "protocol/Fields.h"

namespace varmo {

namespace {

void oneLine(Lines& lines, std::string line)
{
    lines.clear();
    lines.push_back(std::move(line));
}

}  // namespace

std::string TCmdSetClock::GetBody() const
{
    return TwoDigits(year_, 30) + ";" + TwoDigits(month_, 12) + ";" + TwoDigits(day_, 31) + ";" +
           TwoDigits(hour_, 24) + ";" + TwoDigits(minute_, 59) + ";00$c";
}

void TCmdSetClock::DescribeCommand(Lines& lines) const
{
    lines.clear();  // emptied even when a field is out of range
    oneLine(lines, "Ustawienie zegara: 20" + TwoDigits(year_, 30) + "-" + TwoDigits(month_, 12) +
                       "-" + TwoDigits(day_, 31) + " " + TwoDigits(hour_, 24) + ":" +
                       TwoDigits(minute_, 59));
}

std::string TCmdSetHeader::GetBody() const { return "0$f" + header_ + '\xFF'; }

void TCmdSetHeader::DescribeCommand(Lines& lines) const { oneLine(lines, "Ustawienie nagłówka"); }

std::string TCmdSetRates::GetBody() const
{
    std::string body = "7$p";
    for (std::int32_t rate : rates_)
        body += std::to_string(rate) + "/";
    return body;
}

void TCmdSetRates::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Ustawienie stawek podatkowych:");
    lines.push_back(RateLine(rates_, true));
    lines.push_back(RateLine(rates_, false));
}

std::string TCmdSetErrMode::GetBody() const { return std::to_string(mode_) + "#e"; }

void TCmdSetErrMode::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Ustawienie trybu obsługi błędów: " + std::to_string(mode_));
}

std::string TCmdSetNIP::GetBody() const
{
    return std::string(fiscalise_ ? "1" : "0") + "$N" + nip_ + "/";
}

void TCmdSetNIP::DescribeCommand(Lines& lines) const
{
    oneLine(lines, (fiscalise_ ? "Fiskalizacja!!! NIP: " : "Ustawienie NIP: ") + Cp1250ToUtf8(nip_));
}

std::string TCmdSetInspectionDate::GetBody() const
{
    return "0;" + std::to_string(year_) + ";" + std::to_string(month_) + ";" +
           std::to_string(day_) + "$o" + message_ + '\r';
}

void TCmdSetInspectionDate::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Ustawienie daty przeglądu okresowego: 20" + TwoDigits(year_, 30) + "-" +
                    TwoDigits(month_, 12) + "-" + TwoDigits(day_, 31));
    lines.push_back("Telefon: " + Cp1250ToUtf8(message_));
}

std::string TCmdSetDiscountMode::GetBody() const { return std::to_string(flag_) + "$r"; }

void TCmdSetDiscountMode::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Ustawienie metody rozliczania rabatu: " + std::to_string(2 - static_cast<std::int64_t>(flag_)));
}

}  // namespace varmo
