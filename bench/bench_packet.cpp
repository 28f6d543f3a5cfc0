// How fast the packet assembler cuts answers out of the line: a stream of
// cash-information answers with noise between them, arriving in chunks of the
// sizes a serial port delivers.
#include <benchmark/benchmark.h>

#include "link/ComDataPacket.h"
#include "protocol/Frame.h"

using namespace varmo;

namespace {

void AssembleAnswers(benchmark::State& state)
{
    const std::string answer = FrameOf(
        "1#X0;1;0;1;1;0;24;5;7/23/8/5/0/100/101/101/42/"
        "1234.56/0.50/0.00/0.00/0.00/0.00/1000000.00/98.76/ABC12345678");
    std::string stream;
    while (stream.size() < 64 * 1024)
        stream += answer + "\x0F\x6C";  // two stray status bytes after each frame
    const auto chunk = static_cast<std::size_t>(state.range(0));

    TComDataPacket packet;
    packet.SetStartString(kFrameStart);
    packet.SetStopString(kFrameStop);
    std::size_t packets = 0;
    packet.OnPacket = [&](const std::string&) { ++packets; };
    for (auto _ : state) {
        for (std::size_t pos = 0; pos < stream.size(); pos += chunk)
            packet.HandleData(stream.substr(pos, chunk));
    }
    benchmark::DoNotOptimize(packets);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stream.size()));
}
BENCHMARK(AssembleAnswers)->Arg(1)->Arg(8)->Arg(64)->Arg(1024);

}  // namespace

BENCHMARK_MAIN();
