// Cost of the argument text per byte, beside the floor of finding the length and copying the bytes.
#include "argument_text.h"

#include <benchmark/benchmark.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const char ProgramName[] = "\"C:\\Program Files\\Quillmote\\Quillmote.exe\" ";

// A quoted text of `size` bytes, as a path from Send To arrives.
std::string QuotedText(size_t size)
{
    std::string text(size, 'a');
    for (size_t i = 0; i < size; i += 7)
        text[i] = static_cast<char>('a' + i % 26);
    text.front() = '"';
    text.back() = '"';
    return text;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void Floor(benchmark::State& state)
{
    std::string text = QuotedText(state.range(0));
    std::vector<char> buffer(ArgumentBufferSize);
    for (auto _ : state) {
        size_t n = strlen(text.c_str());
        if (n > ArgumentTextCap)
            n = ArgumentTextCap;
        memcpy(buffer.data(), text.c_str(), n);
        buffer[n] = '\0';
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

void Normalize(benchmark::State& state)
{
    std::string text = QuotedText(state.range(0));
    std::vector<char> buffer(ArgumentBufferSize);
    for (auto _ : state) {
        NormalizeArgumentText(text.c_str(), buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

// What the program does at start: step over its quoted name, then normalise the rest.
void FindAndNormalize(benchmark::State& state)
{
    std::string line = ProgramName + QuotedText(state.range(0));
    std::vector<char> buffer(ArgumentBufferSize);
    for (auto _ : state) {
        const char* text = FindArgumentText(line.c_str());
        NormalizeArgumentText(text, buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state);
}

}  // namespace

BENCHMARK(Floor)->Arg(16)->Arg(1 << 10)->Arg(32 << 10)->Arg(64 << 10);
BENCHMARK(Normalize)->Arg(16)->Arg(1 << 10)->Arg(32 << 10)->Arg(64 << 10);
BENCHMARK(FindAndNormalize)->Arg(16)->Arg(1 << 10)->Arg(32 << 10)->Arg(64 << 10);
