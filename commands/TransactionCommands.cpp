#include "commands/TransactionCommands.h"

#include "protocol/Cp1250.h"
#include "protocol/Fields.h"
#include "protocol/Regional.h"

namespace varmo {

namespace {

void oneLine(Lines& lines, std::string line)
{
    lines.clear();
    lines.push_back(std::move(line));
}

std::string letter(char rate) { return Cp1250ToUtf8(std::string(1, rate)); }

}  // namespace

std::string TCmdTransStart::GetBody() const { return std::to_string(lines_) + "$h"; }

void TCmdTransStart::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Początek transakcji OFF-LINE, " + std::to_string(lines_) + " linii.");
}

std::string TCmdTransLine::GetBody() const
{
    return std::to_string(number_) + "$l" + name_ + '\r' + AmountText(quantity_) + '\r' + rate_ +
           "/" + AmountText(price_) + "/" + AmountText(gross_) + "/";
}

void TCmdTransLine::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Paragon, linia " + std::to_string(number_));
    lines.push_back("Nazwa: " + Cp1250ToUtf8(name_) + ", Ilość: " + RegionalAmountText(quantity_) +
                    ", Stawka: " + letter(rate_));
    lines.push_back("Cena: " + RegionalAmountText(price_) + ", Brutto: " +
                    RegionalAmountText(gross_));
}

std::string TCmdTransConfirm::GetBody() const
{
    return "1;0$e" + register_ + cashier_ + '\r' + "0.00/" + AmountText(total_) + "/";
}

void TCmdTransConfirm::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Zatwierdzenie transakcji. Kasa: " + Cp1250ToUtf8(register_) + " Kasjer: " +
                    Cp1250ToUtf8(cashier_));
    lines.push_back("Suma: " + RegionalAmountText(total_));
}

std::string TCmdTransCancel::GetBody() const { return "0$e"; }

void TCmdTransCancel::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Anulowanie transakcji");
}

std::string TCmdBaseStart::GetBody() const { return blocked_ ? "4#b" : "0#b"; }

void TCmdBaseStart::DescribeCommand(Lines& lines) const
{
    // The two titles differ in their dash: a hyphen here, an en dash there.
    oneLine(lines, blocked_ ? "Kontrola bazy danych - raport towarów zablokowanych"
                            : "Kontrola bazy danych \u2013 raport przyporządkowania towarów do "
                              "stawek podatkowych");
}

std::string TCmdBaseLine::GetBody() const { return "1#b" + name_ + '\r' + rate_ + "/"; }

void TCmdBaseLine::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Linia raportu. Towar: " + Cp1250ToUtf8(name_) + ", Stawka: " + letter(rate_));
}

std::string TCmdBaseConfirm::GetBody() const { return std::string("2#b\r\r", 5); }

void TCmdBaseConfirm::DescribeCommand(Lines& lines) const
{
    oneLine(lines, "Zakończenie raportu.");
}

}  // namespace varmo
