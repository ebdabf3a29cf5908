// libFuzzer target: FindArgumentText and NormalizeArgumentText against a plain model of their rules.
//
// Input layout (missing fields read as 0):
//   [m] [m range bytes] [filler] [L0 L1 L2] [head...] 0x00 [tail...]
// The lead-byte ranges are m % 13 bytes, handed over in a block of exactly that size.
// The command line is head, then the filler byte L times, then tail, so a small input reaches
// any length up to a little past the 65535-byte cap (L = L0 | L1 << 8, plus L2 % 16 * 256).
#include "argument_text.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
};

// A byte is a lead byte when some pair before the first zero pair encloses it.
bool ModelIsLead(const uint8_t* ranges, size_t count, unsigned c)
{
    for (size_t i = 0; i + 1 < count; i += 2) {
        if (ranges[i] == 0 && ranges[i + 1] == 0)
            return false;
        if (ranges[i] <= c && c <= ranges[i + 1])
            return true;
    }
    return false;
}

bool ModelIsBlank(unsigned char c) { return c != 0 && c <= ' '; }

// Index of the argument text: the name token (blanks inside quotes belong to it, a lead byte
// takes the next byte whatever it is), then the blanks after it.
size_t ModelFind(const std::string& line, const bool* is_lead)
{
    size_t i = 0;
    bool in_quotes = false;
    while (i < line.size()) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (ModelIsBlank(c) && !in_quotes)
            break;
        if (c == '"')
            in_quotes = !in_quotes;
        i += (is_lead[c] && i + 1 < line.size()) ? 2 : 1;
    }
    while (i < line.size() && ModelIsBlank(static_cast<unsigned char>(line[i])))
        ++i;
    return i;
}

std::string ModelNormalize(std::string text)
{
    if (text.size() > 65535)
        text.resize(65535);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

[[noreturn]] void Fail(const char* what, const std::string& line, size_t detail)
{
    fprintf(stderr, "MISMATCH: %s (command line of %zu bytes, detail %zu)\n", what, line.size(), detail);
    abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 && strcmp(FindArgumentText(nullptr), "") != 0)
        Fail("a null command line gives a non-empty text", "", 0);

    Input in{data, size};
    size_t range_count = in.Byte() % 13;
    // Exactly sized, so a read past max_bytes shows up under ASan.
    std::unique_ptr<uint8_t[]> ranges(new uint8_t[range_count]);
    for (size_t i = 0; i < range_count; ++i)
        ranges[i] = in.Byte();
    char filler = static_cast<char>(in.Byte());
    size_t filler_count = in.Byte();
    filler_count |= static_cast<size_t>(in.Byte()) << 8;
    filler_count += static_cast<size_t>(in.Byte() % 16) * 256;

    const char* rest = reinterpret_cast<const char*>(data + in.pos);
    size_t rest_size = size - in.pos;
    const char* split = static_cast<const char*>(memchr(rest, 0, rest_size));
    std::string head(rest, split ? split : rest + rest_size);
    std::string tail = split ? std::string(split + 1, rest + rest_size) : std::string();
    std::string built = head + std::string(filler_count, filler) + tail;
    std::string line(built.c_str());  // a command line ends at its first zero byte

    BuildLeadByteTable(ranges.get(), static_cast<unsigned>(range_count));
    bool is_lead[256];
    for (unsigned c = 0; c < 256; ++c)
        is_lead[c] = ModelIsLead(ranges.get(), range_count, c);

    // Exactly sized, so a read past the terminator shows up under ASan.
    std::unique_ptr<char[]> command_line(new char[line.size() + 1]);
    memcpy(command_line.get(), line.c_str(), line.size() + 1);

    const char* found = FindArgumentText(command_line.get());
    if (found < command_line.get() || found > command_line.get() + line.size())
        Fail("the argument text lies outside the command line", line, 0);
    size_t expected_at = ModelFind(line, is_lead);
    if (static_cast<size_t>(found - command_line.get()) != expected_at)
        Fail("the argument text starts elsewhere", line, expected_at);

    std::unique_ptr<char[]> buffer(new char[ArgumentBufferSize]);
    memset(buffer.get(), 0x5A, ArgumentBufferSize);  // no zero that the function did not write
    NormalizeArgumentText(found, buffer.get());
    if (buffer[ArgumentBufferSize - 1] != 0)
        Fail("the buffer's last byte is not 0", line, 0);
    std::string expected = ModelNormalize(line.substr(expected_at));
    size_t got_size = strlen(buffer.get());
    if (got_size > ArgumentTextCap)
        Fail("the text is longer than the cap", line, got_size);
    if (got_size != expected.size() || memcmp(buffer.get(), expected.data(), got_size) != 0)
        Fail("the normalised text differs", line, expected.size());
    return 0;
}
