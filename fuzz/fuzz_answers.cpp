// Any frame from the line handed to every read command: acceptance may fail
// only with a conversion error, description only with the printer's own
// format error, never with a crash.
#include <cstdint>
#include <memory>
#include <string>

#include "commands/ReadCommands.h"
#include "protocol/Exception.h"
#include "protocol/Frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string body(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<varmo::TCmdRequest> requests[] = {
        std::make_unique<varmo::TCmdReadHeader>(),
        std::make_unique<varmo::TCmdReadErrCode>(),
        std::make_unique<varmo::TCmdReadCashInfo>(true),
        std::make_unique<varmo::TCmdReadGoodsStatus>("x", 'A'),
        std::make_unique<varmo::TCmdReadClock>(),
    };
    for (const std::string& frame : {varmo::FrameOf(body), varmo::kFrameStart + body + varmo::kFrameStop, body}) {
        for (auto& request : requests) {
            try {
                if (request->AcceptAnswer(frame)) {
                    varmo::Lines lines;
                    request->DescribeAnswer(lines);
                }
            } catch (const varmo::Exception&) {
                // EConvertError from the error number, "Nieprawdłowy format" from a date.
            }
        }
    }
    return 0;
}
