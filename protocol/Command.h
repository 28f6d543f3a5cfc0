#pragma once
// The base of every printer command. A command supplies its body; the base
// wraps it into a frame, converting Polish letters to Mazovia at the moment of
// sending when the console code page says so.
#include <string>

#include "protocol/Types.h"

namespace varmo {

class TCommand {
public:
    TCommand() = default;
    virtual ~TCommand() = default;
    TCommand(const TCommand&) = delete;
    TCommand& operator=(const TCommand&) = delete;

    // Virtual operations in this order: body, frame as sent, frame as shown, description.
    virtual std::string GetBody() const = 0;
    virtual std::string GetFrame() const;
    virtual std::string GetRawFrame() const;
    virtual void DescribeCommand(Lines& lines) const;
};

}  // namespace varmo
