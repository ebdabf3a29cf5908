// Where the arguments begin in a command line, and the text that goes to the clipboard.
#pragma once

constexpr unsigned ArgumentBufferSize = 65536;             // 64 KB of text and its terminator
constexpr unsigned ArgumentTextCap = ArgumentBufferSize - 1; // longer texts are cut here

// Takes the lead-byte ranges of the ANSI code page as the system reports them:
// pairs of first and last byte, ended by a pair of zeros or after max_bytes.
void BuildLeadByteTable(const unsigned char* ranges, unsigned max_bytes);

const char* FindArgumentText(const char* command_line);
void NormalizeArgumentText(const char* argument_text, char* argument_buffer);
