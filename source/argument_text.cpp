// Finds the argument text in the command line and caps and unquotes it; no Windows calls here.
#include "argument_text.h"

#include <string.h>

static bool lead_byte[256];

void BuildLeadByteTable(const unsigned char* ranges, unsigned max_bytes)
{
    memset(lead_byte, 0, sizeof lead_byte);
    for (unsigned i = 0; i + 1 < max_bytes && (ranges[i] || ranges[i + 1]); i += 2)
        for (unsigned c = ranges[i]; c <= ranges[i + 1]; ++c)
            lead_byte[c] = true;
}

static bool IsBlank(unsigned char c) { return c >= 0x01 && c <= 0x20; }

const char* FindArgumentText(const char* command_line)
{
    if (!command_line)
        return "";
    const unsigned char* p = reinterpret_cast<const unsigned char*>(command_line);
    bool quoted = false;
    while (*p && (quoted || !IsBlank(*p))) {
        if (*p == '"')
            quoted = !quoted;
        // The trail byte of a double-byte character is never a quote or a blank.
        if (lead_byte[*p++] && *p)
            ++p;
    }
    while (IsBlank(*p))
        ++p;
    return reinterpret_cast<const char*>(p);
}

void NormalizeArgumentText(const char* argument_text, char* argument_buffer)
{
    // memchr stops at the terminator, so a short text is never read past its end.
    const char* end = static_cast<const char*>(memchr(argument_text, '\0', ArgumentTextCap));
    size_t n = end ? static_cast<size_t>(end - argument_text) : ArgumentTextCap;
    // The quote test looks at the capped text, so a closing quote past the cap keeps the opening one.
    if (n >= 2 && argument_text[0] == '"' && argument_text[n - 1] == '"') {
        ++argument_text;
        n -= 2;
    }
    memcpy(argument_buffer, argument_text, n);
    argument_buffer[n] = '\0';
    argument_buffer[ArgumentTextCap] = '\0';
}
