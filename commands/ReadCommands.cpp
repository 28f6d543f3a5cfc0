#include "commands/ReadCommands.h"

#include "commands/DescriptionText.h"
#include "protocol/CodePage.h"
#include "protocol/Cp1250.h"
#include "protocol/ErrorTexts.h"
#include "protocol/Exception.h"
#include "protocol/Fields.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"
#include "protocol/Regional.h"

namespace varmo {

namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool isFramed(const std::string& frame)
{
    return frame.size() >= 5 && startsWith(frame, kFrameStart) &&
           frame.compare(frame.size() - 2, 2, kFrameStop) == 0;
}

// The body without check value: the frame less ESC P and ESC \.
std::string bodyWithCheck(const std::string& frame) { return frame.substr(2, frame.size() - 4); }

// A printer set to Mazovia answers in Mazovia. Its text is read in
// Windows-1250, like everything inside the console; the check value has been
// verified on the bytes as they came.
std::string inConsoleCodePage(std::string body)
{
    if (ConsoleSendsMazovia())
        MazoviaToWindows(body);
    return body;
}

std::string ymd(std::int32_t year, std::int32_t month, std::int32_t day)
{
    return std::to_string(year + 2000) + "-" + TwoDigits(month, 12) + "-" + TwoDigits(day, 31);
}

// A scanned field followed by its separator, as the answers lay them out.
std::int32_t numberThen(const std::string& body, std::int32_t& c, char separator)
{
    const std::int32_t value = ReadNumber(body, c);
    ExpectChar(body, c, separator);
    return value;
}

bool flagThen(const std::string& body, std::int32_t& c, char separator)
{
    const bool value = ReadFlag(body, c);
    ExpectChar(body, c, separator);
    return value;
}

Amount amountThen(const std::string& body, std::int32_t& c, char separator)
{
    const Amount value = ReadAmount(body, c);
    ExpectChar(body, c, separator);
    return value;
}

}  // namespace

bool TCmdRequest::AcceptAnswer(const std::string& frame)
{
    lastFrame_ = frame;
    accepted_ = false;
    if (!isFramed(frame))
        return accepted_;
    if (AnswerHasChecksum()) {
        if (frame.size() < 6)
            return accepted_;
        const std::string body = frame.substr(2, frame.size() - 6);
        const std::string check = frame.substr(frame.size() - 4, 2);
        if (FrameChecksum(body) != check)
            return accepted_;
        accepted_ = ParseAnswer(inConsoleCodePage(body));
    } else {
        accepted_ = ParseAnswer(inConsoleCodePage(bodyWithCheck(frame)));
    }
    return accepted_;
}

void TCmdRequest::DescribeAnswer(Lines& lines) const
{
    lines.clear();
    lines.push_back("Tłumaczenie odpowiedzi niezaimplementowane.");
}

// Header

std::string TCmdReadHeader::GetBody() const { return "#u"; }

void TCmdReadHeader::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Odczyt nagłówka");
}

bool TCmdReadHeader::ParseAnswer(const std::string& body)
{
    if (body.size() < 4 || !startsWith(body, "1#U") || body.back() != '\xFF')
        return false;
    header_ = body.substr(3, body.size() - 4);
    return true;
}

void TCmdReadHeader::DescribeAnswer(Lines& lines) const
{
    lines.clear();
    lines.push_back("Odczytany nagłówek:");
    for (const std::string& line : SplitAtCR(header_))
        lines.push_back(Cp1250ToUtf8(line));
}

// Last error

std::string TCmdReadErrCode::GetBody() const { return "#n"; }

void TCmdReadErrCode::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Odczyt kodu błędu");
}

bool TCmdReadErrCode::ParseAnswer(const std::string& body)
{
    if (body.size() < 4 || !startsWith(body, "1#E"))
        return false;
    // The rest must read as a decimal integer; when it does not, the
    // conversion error reaches whoever handed the answer over.
    const std::string rest = body.substr(3);
    std::int32_t value = 0;
    if (!ParseInteger(rest, value))
        throw EConvertError(std::string(1, '\'').append(Cp1250ToUtf8(rest))
                                .append("' is not a valid integer value"));
    error_ = value;
    return true;
}

void TCmdReadErrCode::DescribeAnswer(Lines& lines) const
{
    lines.clear();
    lines.push_back("Kod ostatniego błędu: " + std::to_string(error_));
    lines.push_back(ErrorText(error_));
}

// Cash information

std::string TCmdReadCashInfo::GetBody() const { return current_ ? "22#s" : "23#s"; }

void TCmdReadCashInfo::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back(current_ ? "Odczyt informacji kasowych"
                             : "Odczyt informacji kasowych - ostatnia transakcja");
}

bool TCmdReadCashInfo::ParseAnswer(const std::string& body)
{
    if (body.size() < 40 || body.compare(1, 2, "#X") != 0)
        return false;
    try {
        CashInfo info;
        std::int32_t c = 4;
        info.lastError = numberThen(body, c, ';');
        info.fiscal = flagThen(body, c, ';');
        info.transactionMode = flagThen(body, c, ';');
        info.lastTransactionCorrect = flagThen(body, c, ';');
        ExpectChar(body, c, '1');  // a fixed field that carries nothing
        ExpectChar(body, c, ';');
        info.zeroings = numberThen(body, c, ';');
        info.year = numberThen(body, c, ';');
        info.month = numberThen(body, c, ';');
        info.day = numberThen(body, c, '/');
        for (auto& rate : info.rates)
            rate = numberThen(body, c, '/');
        info.lastReceipt = numberThen(body, c, '/');
        for (auto& total : info.totals)
            total = amountThen(body, c, '/');
        info.cash = amountThen(body, c, '/');
        info.uniqueNumber = body.substr(static_cast<std::size_t>(c) - 1);
        info_ = std::move(info);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

void TCmdReadCashInfo::DescribeAnswer(Lines& lines) const
{
    lines.clear();
    const CashInfo& i = info_;
    lines.push_back(current_ ? "Informacje kasowe - aktualna transakcja:" : "Informacje kasowe:");
    lines.push_back("Kod ostatniego błędu: " + std::to_string(i.lastError));
    lines.push_back(std::string("Fiskalna: ") + YesNoText(i.fiscal));
    lines.push_back(std::string("Tryb transakcji: ") + YesNoText(i.transactionMode));
    lines.push_back(std::string("Ostatnia transakcja poprawnie: ") +
                    YesNoText(i.lastTransactionCorrect));
    lines.push_back("Liczba zerowań pamięci fiskalnej: " + std::to_string(i.zeroings));
    lines.push_back("Data ostatniego zapisu do pamięci: " + ymd(i.year, i.month, i.day));
    lines.push_back("Stawki podatkowe: ");
    lines.push_back(RateLine(i.rates, true));
    lines.push_back(RateLine(i.rates, false));
    lines.push_back("Numer ostatniego paragonu: " + std::to_string(i.lastReceipt));
    lines.push_back("Wartość sprzedaży brutto: ");
    lines.push_back(LetterLine(i.totals, 0, 3, MoneyText));
    lines.push_back(LetterLine(i.totals, 4, 6, MoneyText));
    lines.push_back("Gotówka: " + MoneyText(i.cash));
    lines.push_back("Numer unikatowy: " + Cp1250ToUtf8(i.uniqueNumber));
}

// Goods status

std::string TCmdReadGoodsStatus::GetBody() const
{
    return "$g" + name_ + '\r' + rate_ + "/";
}

void TCmdReadGoodsStatus::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Odczyt statusu towaru: " + Cp1250ToUtf8(name_) + "; stawka: " +
                    Cp1250ToUtf8(std::string(1, rate_)));
}

bool TCmdReadGoodsStatus::ParseAnswer(const std::string& body)
{
    if (body.size() < 6 || !startsWith(body, "1$G"))
        return false;
    locked_ = body[3] != '0';
    lastRate_ = body.substr(5, body.size() - 6);
    return true;
}

void TCmdReadGoodsStatus::DescribeAnswer(Lines& lines) const
{
    lines.clear();
    if (lastRate_ == "101")
        lines.push_back("Towar nie rejestrowany");
    else
        lines.push_back(std::string("Zablokowany: ") + YesNoText(locked_) +
                        "; ostatnia sprzedaż ze stawką: " + Cp1250ToUtf8(lastRate_));
}

// Clock

std::string TCmdReadClock::GetBody() const { return "#c"; }

void TCmdReadClock::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Odczyt czasu RTC");
}

bool TCmdReadClock::AcceptAnswer(const std::string& frame)
{
    // The printer's clock answer is taken whatever its check value says; the
    // two check characters stay at the end of the body.
    lastFrame_ = frame;
    accepted_ = isFramed(frame) && ParseAnswer(inConsoleCodePage(bodyWithCheck(frame)));
    return accepted_;
}

bool TCmdReadClock::ParseAnswer(const std::string& body)
{
    if (body.size() < 14 || !startsWith(body, "1#C"))
        return false;
    try {
        std::int32_t c = 4;
        const std::int32_t year = numberThen(body, c, ';');
        const std::int32_t month = numberThen(body, c, ';');
        const std::int32_t day = numberThen(body, c, ';');
        const std::int32_t hour = numberThen(body, c, ';');
        const std::int32_t minute = ReadNumber(body, c);
        year_ = year;
        month_ = month;
        day_ = day;
        hour_ = hour;
        minute_ = minute;
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

void TCmdReadClock::DescribeAnswer(Lines& lines) const
{
    lines.clear();
    lines.push_back("Aktualny czas: " + ymd(year_, month_, day_) + " " + TwoDigits(hour_, 24) +
                    ":" + TwoDigits(minute_, 60));
}

}  // namespace varmo
