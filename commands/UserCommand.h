#pragma once
// A sequence the operator typed or loaded: either a body that is framed like
// any command, or complete bytes that go out as they are (only the Polish
// letters are converted when the console sends Mazovia).
#include <memory>
#include <string>

#include "protocol/Command.h"

namespace varmo {

class TCmdUser : public TCommand {
public:
    static std::unique_ptr<TCmdUser> FromBody(std::string body);
    static std::unique_ptr<TCmdUser> FromSequence(std::string sequence);

    std::string GetBody() const override;
    std::string GetFrame() const override;
    std::string GetRawFrame() const override;
    void DescribeCommand(Lines& lines) const override;

    bool IsSequence() const { return isSequence_; }

private:
    TCmdUser(std::string body, std::string sequence, bool isSequence)
        : body_(std::move(body)), sequence_(std::move(sequence)), isSequence_(isSequence) {}

    std::string body_;
    std::string sequence_;
    bool isSequence_;
};

}  // namespace varmo
