#pragma once
// The commands that ask the printer for information, and TCmdRequest, the base
// that lets a command check, parse and describe the printer's answer frame.
#include <array>
#include <cstdint>
#include <string>

#include "protocol/Command.h"

namespace varmo {

class TCmdRequest : public TCommand {
public:
    // Framing and check value, then ParseAnswer of the body.
    virtual bool AcceptAnswer(const std::string& frame);
    virtual void DescribeAnswer(Lines& lines) const;
    virtual bool ParseAnswer(const std::string& body) = 0;
    virtual bool AnswerHasChecksum() const { return true; }

    bool Accepted() const { return accepted_; }
    const std::string& LastFrame() const { return lastFrame_; }

protected:
    bool accepted_ = false;
    std::string lastFrame_;
};

class TCmdReadHeader : public TCmdRequest {
public:
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    void DescribeAnswer(Lines& lines) const override;
    bool ParseAnswer(const std::string& body) override;

    // Windows-1250 bytes as received, lines ended by CR.
    const std::string& HeaderText() const { return header_; }

private:
    std::string header_;
};

class TCmdReadErrCode : public TCmdRequest {
public:
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    void DescribeAnswer(Lines& lines) const override;
    bool ParseAnswer(const std::string& body) override;
    bool AnswerHasChecksum() const override { return false; }

    std::int32_t ErrorNumber() const { return error_; }

private:
    std::int32_t error_ = 0;
};

// The printer's cash information, in the order of its answer.
struct CashInfo {
    std::int32_t lastError = 0;
    bool fiscal = false;
    bool transactionMode = false;
    bool lastTransactionCorrect = false;
    std::int32_t zeroings = 0;
    std::int32_t year = 0;  // two digits: years after 2000
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::array<std::int32_t, 7> rates{};  // A to G
    std::int32_t lastReceipt = 0;
    std::array<Amount, 7> totals{};  // A to G
    Amount cash = 0;
    std::string uniqueNumber;
};

class TCmdReadCashInfo : public TCmdRequest {
public:
    explicit TCmdReadCashInfo(bool current) : current_(current) {}

    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    void DescribeAnswer(Lines& lines) const override;
    bool ParseAnswer(const std::string& body) override;

    bool Current() const { return current_; }
    const CashInfo& Info() const { return info_; }

private:
    bool current_;
    CashInfo info_;
};

class TCmdReadGoodsStatus : public TCmdRequest {
public:
    // name: Windows-1250 bytes.
    TCmdReadGoodsStatus(std::string name, char rateLetter)
        : name_(std::move(name)), rate_(rateLetter) {}

    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    void DescribeAnswer(Lines& lines) const override;
    bool ParseAnswer(const std::string& body) override;

    bool Locked() const { return locked_; }
    const std::string& LastRate() const { return lastRate_; }

private:
    std::string name_;
    char rate_;
    bool locked_ = false;
    std::string lastRate_;
};

class TCmdReadClock : public TCmdRequest {
public:
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    void DescribeAnswer(Lines& lines) const override;
    bool ParseAnswer(const std::string& body) override;
    bool AcceptAnswer(const std::string& frame) override;
    // Printers send two characters in the check value's place of the clock
    // answer that are no check value: whoever reads it must not verify them.
    bool AnswerHasChecksum() const override { return false; }

    std::int32_t Year() const { return year_; }  // two digits
    std::int32_t Month() const { return month_; }
    std::int32_t Day() const { return day_; }
    std::int32_t Hour() const { return hour_; }
    std::int32_t Minute() const { return minute_; }

private:
    std::int32_t year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0;
};

}  // namespace varmo
