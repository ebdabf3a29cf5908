#include "fake_win32.h"

#include <stdio.h>
#include <string.h>

#include <map>
#include <memory>

namespace fake {
namespace {

struct BlockRecord {
    Block block;
    // A lock hands out a fresh copy that the unlock writes back and destroys, the way a movable
    // block may move once unlocked: a write after the unlock is lost (and a use after free to ASan).
    std::unique_ptr<unsigned char[]> view;
};

struct Item {
    HANDLE handle;      // one of our blocks, or null for seeded content
    std::string bytes;  // seeded content only
};

struct State {
    std::vector<std::string> calls;
    std::vector<std::string> misuses;

    bool open = false;
    int held_attempts = 0;
    bool fail_set = false;
    std::map<UINT, Item> clipboard;

    bool fail_alloc = false;
    bool fail_lock = false;
    std::vector<BlockRecord> blocks;

    std::vector<MessageBoxCall> message_boxes;

    std::string command_line;
    bool command_line_null = false;
    UINT code_page = 1252;
    std::vector<BYTE> lead_byte_ranges;
    DWORD startup_flags = 0;
    WORD show_window = 0;
};

State& Fake()
{
    static State state;
    return state;
}

// Handles are small numbers, not addresses: code that writes through one without locking it crashes.
HGLOBAL HandleOf(size_t index) { return reinterpret_cast<HGLOBAL>(static_cast<uintptr_t>(index + 1) << 4); }

BlockRecord* Find(HANDLE handle)
{
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    size_t index = (value >> 4) - 1;
    if (value == 0 || (value & 0xF) != 0 || index >= Fake().blocks.size())
        return nullptr;
    return &Fake().blocks[index];
}

std::string Name(const void* pointer)
{
    if (!pointer)
        return "NULL";
    if (Find(const_cast<void*>(pointer)))
        return "h" + std::to_string((reinterpret_cast<uintptr_t>(pointer) >> 4));
    char text[32];
    snprintf(text, sizeof text, "%p", pointer);
    return text;
}

void Record(const std::string& call) { Fake().calls.push_back(call); }
void Misuse(const std::string& what) { Fake().misuses.push_back(what); }

}  // namespace

void Reset() { Fake() = State(); }

const std::vector<std::string>& Calls() { return Fake().calls; }

size_t CallCount(const std::string& name)
{
    size_t count = 0;
    for (const std::string& call : Fake().calls)
        count += call.compare(0, name.size() + 1, name + "(") == 0;
    return count;
}

const std::vector<std::string>& Misuses() { return Fake().misuses; }

void SeedClipboard(UINT format, const std::string& bytes) { Fake().clipboard[format] = Item{nullptr, bytes}; }
void HoldClipboard(int open_attempts) { Fake().held_attempts = open_attempts; }
void FailSetClipboardData(bool fail) { Fake().fail_set = fail; }
bool ClipboardIsOpen() { return Fake().open; }

std::vector<UINT> ClipboardFormats()
{
    std::vector<UINT> formats;
    for (const auto& item : Fake().clipboard)
        formats.push_back(item.first);
    return formats;
}

std::string ClipboardBytes(UINT format)
{
    auto item = Fake().clipboard.find(format);
    if (item == Fake().clipboard.end())
        return std::string();
    if (!item->second.handle)
        return item->second.bytes;
    return Find(item->second.handle)->block.bytes;
}

HANDLE ClipboardHandle(UINT format)
{
    auto item = Fake().clipboard.find(format);
    return item == Fake().clipboard.end() ? nullptr : item->second.handle;
}

void FailGlobalAlloc(bool fail) { Fake().fail_alloc = fail; }
void FailGlobalLock(bool fail) { Fake().fail_lock = fail; }

std::vector<Block> Blocks()
{
    std::vector<Block> blocks;
    for (const BlockRecord& record : Fake().blocks)
        blocks.push_back(record.block);
    return blocks;
}

size_t LeakedBlocks()
{
    size_t leaked = 0;
    for (const BlockRecord& record : Fake().blocks)
        leaked += record.block.state == BlockState::Ours;
    return leaked;
}

const std::vector<MessageBoxCall>& MessageBoxes() { return Fake().message_boxes; }

void SetCommandLine(const char* line)
{
    Fake().command_line_null = !line;
    Fake().command_line = line ? line : "";
}

void SetCodePage(UINT code_page, const std::vector<BYTE>& lead_byte_ranges)
{
    Fake().code_page = code_page;
    Fake().lead_byte_ranges = lead_byte_ranges;
}

void SetStartupInfo(DWORD flags, WORD show_window)
{
    Fake().startup_flags = flags;
    Fake().show_window = show_window;
}

}  // namespace fake

using namespace fake;

extern "C" {

BOOL WINAPI OpenClipboard(HWND owner)
{
    Record("OpenClipboard(" + Name(owner) + ")");
    if (Fake().held_attempts != 0) {
        if (Fake().held_attempts != Forever)
            --Fake().held_attempts;
        return 0;
    }
    if (Fake().open)
        Misuse("OpenClipboard while it is already open");
    Fake().open = true;
    return 1;
}

BOOL WINAPI EmptyClipboard()
{
    Record("EmptyClipboard()");
    if (!Fake().open) {
        Misuse("EmptyClipboard without an open clipboard");
        return 0;
    }
    // The system frees the blocks it owned; they stay recorded as handed over.
    Fake().clipboard.clear();
    return 1;
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE data)
{
    Record("SetClipboardData(" + std::to_string(format) + ", " + Name(data) + ")");
    if (!Fake().open) {
        Misuse("SetClipboardData without an open clipboard");
        return nullptr;
    }
    if (Fake().fail_set)
        return nullptr;
    BlockRecord* record = Find(data);
    if (!record || record->block.state != BlockState::Ours) {
        Misuse("SetClipboardData with a block that is not ours: " + Name(data));
        return nullptr;
    }
    if (record->block.locks != 0)
        Misuse("SetClipboardData with a locked block");
    record->block.state = BlockState::OnClipboard;
    Fake().clipboard[format] = Item{data, std::string()};
    return data;
}

BOOL WINAPI CloseClipboard()
{
    Record("CloseClipboard()");
    if (!Fake().open) {
        Misuse("CloseClipboard without an open clipboard");
        return 0;
    }
    Fake().open = false;
    return 1;
}

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes)
{
    Record("GlobalAlloc(" + std::to_string(flags) + ", " + std::to_string(bytes) + ")");
    if (Fake().fail_alloc)
        return nullptr;
    // Fresh memory is not zeroed: garbage shows a missing terminator.
    Fake().blocks.push_back(BlockRecord{Block{flags, std::string(bytes, '\xCD'), 0, BlockState::Ours}, nullptr});
    return HandleOf(Fake().blocks.size() - 1);
}

void* WINAPI GlobalLock(HGLOBAL block)
{
    Record("GlobalLock(" + Name(block) + ")");
    BlockRecord* record = Find(block);
    if (!record || record->block.state != BlockState::Ours) {
        Misuse("GlobalLock of a block that is not ours: " + Name(block));
        return nullptr;
    }
    if (Fake().fail_lock || record->block.bytes.empty())
        return nullptr;
    if (record->block.locks++ == 0) {
        record->view.reset(new unsigned char[record->block.bytes.size()]);
        memcpy(record->view.get(), record->block.bytes.data(), record->block.bytes.size());
    }
    return record->view.get();
}

BOOL WINAPI GlobalUnlock(HGLOBAL block)
{
    Record("GlobalUnlock(" + Name(block) + ")");
    BlockRecord* record = Find(block);
    if (!record || record->block.locks == 0) {
        Misuse("GlobalUnlock of a block that is not locked: " + Name(block));
        return 0;
    }
    if (--record->block.locks == 0) {
        memcpy(&record->block.bytes[0], record->view.get(), record->block.bytes.size());
        record->view.reset();
    }
    return record->block.locks != 0;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL block)
{
    Record("GlobalFree(" + Name(block) + ")");
    BlockRecord* record = Find(block);
    if (!record || record->block.state != BlockState::Ours) {
        Misuse("GlobalFree of a block that is not ours: " + Name(block));
        return block;
    }
    record->block.state = BlockState::Freed;
    record->block.locks = 0;
    record->view.reset();
    return nullptr;
}

void WINAPI Sleep(DWORD milliseconds) { Record("Sleep(" + std::to_string(milliseconds) + ")"); }

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR title, UINT style)
{
    Record("MessageBoxA(" + Name(owner) + ", " + std::to_string(style) + ")");
    Fake().message_boxes.push_back(MessageBoxCall{owner, text ? text : "(null)", title ? title : "(null)", style});
    return IDOK;
}

LPSTR WINAPI GetCommandLineA()
{
    Record("GetCommandLineA()");
    return Fake().command_line_null ? nullptr : &Fake().command_line[0];
}

HINSTANCE WINAPI GetModuleHandleA(LPCSTR module_name)
{
    Record(std::string("GetModuleHandleA(") + (module_name ? module_name : "NULL") + ")");
    return module_name ? nullptr : reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));
}

void WINAPI GetStartupInfoA(STARTUPINFOA* startup)
{
    Record("GetStartupInfoA()");
    memset(startup, 0, sizeof *startup);
    startup->cb = sizeof *startup;
    startup->dwFlags = Fake().startup_flags;
    startup->wShowWindow = Fake().show_window;
}

UINT WINAPI GetACP()
{
    Record("GetACP()");
    return Fake().code_page;
}

BOOL WINAPI GetCPInfo(UINT code_page, CPINFO* info)
{
    Record("GetCPInfo(" + std::to_string(code_page) + ")");
    const std::vector<BYTE>* ranges = nullptr;
    static const std::vector<BYTE> single_byte;
    if (code_page == Fake().code_page)
        ranges = &Fake().lead_byte_ranges;
    else if (code_page == 1252)
        ranges = &single_byte;
    else
        return 0;
    memset(info, 0, sizeof *info);
    info->MaxCharSize = ranges->empty() ? 1 : 2;
    info->DefaultChar[0] = '?';
    for (size_t i = 0; i < ranges->size() && i < sizeof info->LeadByte; ++i)
        info->LeadByte[i] = (*ranges)[i];
    return 1;
}

void WINAPI ExitProcess(UINT exit_code)
{
    Record("ExitProcess(" + std::to_string(exit_code) + ")");
    throw ProcessExit{exit_code};
}

}  // extern "C"
