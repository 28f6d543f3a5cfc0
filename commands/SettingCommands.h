#pragma once
// The commands that change a setting of the printer. None expects an answer.
// Texts are Windows-1250 bytes; descriptions are UTF-8.
#include <array>
#include <cstdint>
#include <string>

#include "protocol/Command.h"

namespace varmo {

class TCmdSetClock : public TCommand {
public:
    TCmdSetClock(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                 std::int32_t minute)
        : year_(year), month_(month), day_(day), hour_(hour), minute_(minute) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::int32_t year_, month_, day_, hour_, minute_;
};

class TCmdSetHeader : public TCommand {
public:
    // Header lines, each followed by CR.
    explicit TCmdSetHeader(std::string header) : header_(std::move(header)) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::string header_;
};

class TCmdSetRates : public TCommand {
public:
    explicit TCmdSetRates(const std::array<std::int32_t, 7>& rates) : rates_(rates) {}
    TCmdSetRates(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e,
                 std::int32_t f, std::int32_t g)
        : rates_{a, b, c, d, e, f, g} {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::array<std::int32_t, 7> rates_;
};

class TCmdSetErrMode : public TCommand {
public:
    explicit TCmdSetErrMode(std::int32_t mode) : mode_(mode) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::int32_t mode_;
};

class TCmdSetNIP : public TCommand {
public:
    TCmdSetNIP(bool fiscalise, std::string nip) : fiscalise_(fiscalise), nip_(std::move(nip)) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    // As given, for the visit book: the printer has no command that reads
    // its NIP back.
    bool Fiscalise() const { return fiscalise_; }
    const std::string& Nip() const { return nip_; }

private:
    bool fiscalise_;
    std::string nip_;
};

class TCmdSetInspectionDate : public TCommand {
public:
    TCmdSetInspectionDate(std::int32_t year, std::int32_t month, std::int32_t day,
                          std::string message)
        : year_(year), month_(month), day_(day), message_(std::move(message)) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    // The date as given (the year in two digits) and the message, for the
    // visit book.
    std::int32_t Year() const { return year_; }
    std::int32_t Month() const { return month_; }
    std::int32_t Day() const { return day_; }
    const std::string& Message() const { return message_; }

private:
    std::int32_t year_, month_, day_;
    std::string message_;
};

class TCmdSetDiscountMode : public TCommand {
public:
    // 1 for discount method 1, 0 for method 2.
    explicit TCmdSetDiscountMode(std::int32_t methodFlag) : flag_(methodFlag) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::int32_t flag_;
};

}  // namespace varmo
