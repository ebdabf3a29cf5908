// A recording fake of the Win32 calls the program makes: the tests set it up, run the program's
// code on it, and read back the calls, the clipboard, the memory blocks and the message boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace fake {

// Forgets every call, block and setting: a clipboard that is free and empty, code page 1252.
void Reset();

// Every call in order, as "Name(arg, arg)": handles of our blocks read h1, h2... in allocation order.
const std::vector<std::string>& Calls();
size_t CallCount(const std::string& name);
// Calls that Windows would refuse or that break the rules of ownership, such as freeing a block the clipboard owns.
const std::vector<std::string>& Misuses();

// ---- clipboard ----
void SeedClipboard(UINT format, const std::string& bytes);  // content another program left there
constexpr int Forever = -1;
void HoldClipboard(int open_attempts);  // another program holds it for this many OpenClipboard calls
void FailSetClipboardData(bool fail);
bool ClipboardIsOpen();
std::vector<UINT> ClipboardFormats();
std::string ClipboardBytes(UINT format);  // every byte of the item, terminator included
HANDLE ClipboardHandle(UINT format);      // null for seeded items and absent formats

// ---- global memory ----
void FailGlobalAlloc(bool fail);
void FailGlobalLock(bool fail);
enum class BlockState { Ours, Freed, OnClipboard };
struct Block {
    UINT flags;
    std::string bytes;  // size() is the allocated size
    int locks;
    BlockState state;
};
std::vector<Block> Blocks();  // in allocation order: h1 first
size_t LeakedBlocks();        // neither freed nor handed to the clipboard

// ---- message box ----
struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string title;
    UINT style;
};
const std::vector<MessageBoxCall>& MessageBoxes();

// ---- start-up ----
void SetCommandLine(const char* line);  // null makes GetCommandLineA return null
// Makes code_page the ANSI code page; GetCPInfo knows only it (and 1252, single-byte).
void SetCodePage(UINT code_page, const std::vector<BYTE>& lead_byte_ranges);
void SetStartupInfo(DWORD flags, WORD show_window);
// ExitProcess records its call and throws this, since it must not return into the program.
struct ProcessExit {
    UINT status;
};

}  // namespace fake
