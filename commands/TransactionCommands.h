#pragma once
// Off-line receipt commands and the goods-database check report. None expects
// an answer. Texts are Windows-1250 bytes, stored exactly as given.
#include <cstdint>
#include <string>

#include "protocol/Command.h"

namespace varmo {

class TCmdTransStart : public TCommand {
public:
    explicit TCmdTransStart(std::int32_t lineCount) : lines_(lineCount) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::int32_t lines_;
};

class TCmdTransLine : public TCommand {
public:
    // The constructor takes the quantity before the rate letter.
    TCmdTransLine(std::int32_t lineNumber, std::string name, Amount quantity, char rateLetter,
                  Amount price, Amount gross)
        : number_(lineNumber), name_(std::move(name)), rate_(rateLetter), quantity_(quantity),
          price_(price), gross_(gross) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::int32_t number_;
    std::string name_;
    char rate_;
    Amount quantity_;
    Amount price_;
    Amount gross_;
};

class TCmdTransConfirm : public TCommand {
public:
    TCmdTransConfirm(std::string cashRegister, std::string cashier, Amount total)
        : register_(std::move(cashRegister)), cashier_(std::move(cashier)), total_(total) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::string register_;
    std::string cashier_;
    Amount total_;
};

class TCmdTransCancel : public TCommand {
public:
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
};

class TCmdBaseStart : public TCommand {
public:
    // true: report of locked goods; false: assignment of goods to rates.
    explicit TCmdBaseStart(bool blockedGoods) : blocked_(blockedGoods) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    bool blocked_;
};

class TCmdBaseLine : public TCommand {
public:
    TCmdBaseLine(std::string name, char rateLetter) : name_(std::move(name)), rate_(rateLetter) {}
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;

private:
    std::string name_;
    char rate_;
};

class TCmdBaseConfirm : public TCommand {
public:
    std::string GetBody() const override;
    void DescribeCommand(Lines& lines) const override;
};

}  // namespace varmo
