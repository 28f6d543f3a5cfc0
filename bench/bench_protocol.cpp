// How fast the console turns frames into escaped text and back, frames a
// command, and reads a cash-information answer: the work done on every
// exchange with the printer.
#include <benchmark/benchmark.h>

#include <random>

#include "commands/ReadCommands.h"
#include "commands/TransactionCommands.h"
#include "protocol/CodePage.h"
#include "protocol/Escaped.h"
#include "protocol/Frame.h"

using namespace varmo;

namespace {

std::string randomBytes(std::size_t size)
{
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() % 256);
    return bytes;
}

void EncodeEscapedFrame(benchmark::State& state)
{
    const std::string bytes = randomBytes(static_cast<std::size_t>(state.range(0)));
    Lines lines;
    for (auto _ : state) {
        EncodeEscaped(lines, bytes);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(EncodeEscapedFrame)->Arg(64)->Arg(1024);

void DecodeEscapedFrame(benchmark::State& state)
{
    Lines lines;
    EncodeEscaped(lines, randomBytes(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(TryDecodeEscaped(lines));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(DecodeEscapedFrame)->Arg(64)->Arg(1024);

void FrameInMazovia(benchmark::State& state)
{
    SetConsoleCodePage("maz");
    TCmdTransLine line(1, "Mas\xB3o \xBF\xF3\xB3te", 15000, 'A', 49900, 74850);
    for (auto _ : state)
        benchmark::DoNotOptimize(line.GetFrame());
}
BENCHMARK(FrameInMazovia);

void AcceptCashInformation(benchmark::State& state)
{
    const std::string frame = FrameOf(
        "1#X0;1;0;1;1;0;24;5;7/23/8/5/0/100/101/101/42/"
        "1234.56/0.50/0.00/0.00/0.00/0.00/1000000.00/98.76/ABC12345678");
    TCmdReadCashInfo cash(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(cash.AcceptAnswer(frame));
}
BENCHMARK(AcceptCashInformation);

}  // namespace

BENCHMARK_MAIN();
