// Cost of the argument text per byte, beside the floor of finding the length and copying the bytes.
#include "argument_text.h"

#include <benchmark/benchmark.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const char ProgramName[] = "\"C:\\Program Files\\Quillmote\\Quillmote.exe\" ";

// The program's quoted name, then a quoted text of `size` bytes, as a path from Send To arrives.
// All three benchmarks read the text at the same address, so alignment favours none of them.
std::string CommandLine(size_t size)
{
    std::string text(size, 'a');
    for (size_t i = 0; i < size; i += 7)
        text[i] = static_cast<char>('a' + i % 26);
    text.front() = '"';
    text.back() = '"';
    return ProgramName + text;
}

const size_t TextStart = sizeof ProgramName - 1;

void Run(benchmark::State& state, void (*work)(const char* line, char* buffer))
{
    std::string line = CommandLine(static_cast<size_t>(state.range(0)));
    std::vector<char> buffer(ArgumentBufferSize);
    for (auto _ : state) {
        work(line.c_str(), buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void Floor(benchmark::State& state)
{
    Run(state, [](const char* line, char* buffer) {
        const char* text = line + TextStart;
        size_t n = strlen(text);
        if (n > ArgumentTextCap)
            n = ArgumentTextCap;
        memcpy(buffer, text, n);
        buffer[n] = '\0';
    });
}

void Normalize(benchmark::State& state)
{
    Run(state, [](const char* line, char* buffer) { NormalizeArgumentText(line + TextStart, buffer); });
}

// What the program does at start: step over its quoted name, then normalise the rest.
void FindAndNormalize(benchmark::State& state)
{
    Run(state, [](const char* line, char* buffer) { NormalizeArgumentText(FindArgumentText(line), buffer); });
}

}  // namespace

BENCHMARK(Floor)->Arg(16)->Arg(1 << 10)->Arg(32 << 10)->Arg(64 << 10);
BENCHMARK(Normalize)->Arg(16)->Arg(1 << 10)->Arg(32 << 10)->Arg(64 << 10);
BENCHMARK(FindAndNormalize)->Arg(16)->Arg(1 << 10)->Arg(32 << 10)->Arg(64 << 10);
