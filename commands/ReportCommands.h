#pragma once
// The commands that make the printer print a report. None expects an answer.
#include <cstdint>
#include <string>

#include "protocol/Command.h"

namespace varmo {

class TCmdRepDay : public TCommand {
public:
    TCmdRepDay() = default;  // today's report
    TCmdRepDay(std::int32_t year, std::int32_t month, std::int32_t day)
        : hasDate_(true), year_(year), month_(month), day_(day) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
    bool HasDate() const { return hasDate_; }

private:
    bool hasDate_ = false;
    std::int32_t year_ = 0, month_ = 0, day_ = 0;
};

class TCmdRepPeriodDay : public TCommand {
public:
    TCmdRepPeriodDay(std::int32_t firstYear, std::int32_t firstMonth, std::int32_t firstDay,
                     std::int32_t lastYear, std::int32_t lastMonth, std::int32_t lastDay,
                     std::int32_t type)
        : fy_(firstYear), fm_(firstMonth), fd_(firstDay), ly_(lastYear), lm_(lastMonth),
          ld_(lastDay), type_(type) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::int32_t fy_, fm_, fd_, ly_, lm_, ld_, type_;
};

class TCmdRepPeriodNo : public TCommand {
public:
    TCmdRepPeriodNo(std::int32_t first, std::int32_t last, bool fiscal)
        : first_(first), last_(last), fiscal_(fiscal) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::int32_t first_, last_;
    bool fiscal_;
};

class TCmdConstDesc : public TCommand {
public:
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
};

}  // namespace varmo
