// The entry and clipboard units, and the start-up, on the recording Win32 fake.
#include "fake_win32.h"

#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "argument_text.h"
#include "clipboard.h"
#include "entry.h"

using namespace std::string_literals;
using Calls = std::vector<std::string>;

namespace {

const UINT BitmapFormat = 2, FileListFormat = 15, RegisteredFormat = 0xC0A1;

// Another program's content in several formats, which a publish must drop and a failure must keep.
void SeedOldContent()
{
    fake::SeedClipboard(CF_TEXT, "old\0"s);
    fake::SeedClipboard(BitmapFormat, "bitmap");
    fake::SeedClipboard(FileListFormat, "files");
    fake::SeedClipboard(RegisteredFormat, "rich");
}

void ExpectOldContent()
{
    EXPECT_EQ(fake::ClipboardFormats(), (std::vector<UINT>{CF_TEXT, BitmapFormat, FileListFormat, RegisteredFormat}));
    EXPECT_EQ(fake::ClipboardBytes(CF_TEXT), "old\0"s);
    EXPECT_EQ(fake::ClipboardBytes(BitmapFormat), "bitmap");
    EXPECT_EQ(fake::ClipboardBytes(FileListFormat), "files");
    EXPECT_EQ(fake::ClipboardBytes(RegisteredFormat), "rich");
}

// CF_TEXT alone, holding exactly the text and its terminator, in our one block handed over unlocked.
void ExpectPublished(const std::string& text)
{
    EXPECT_EQ(fake::ClipboardFormats(), std::vector<UINT>{CF_TEXT});
    ASSERT_EQ(fake::Blocks().size(), 1u);
    const fake::Block block = fake::Blocks()[0];
    EXPECT_EQ(block.flags, static_cast<UINT>(GMEM_MOVEABLE));
    EXPECT_EQ(block.bytes.size(), text.size() + 1);
    EXPECT_TRUE(block.bytes == text + '\0') << "block bytes differ";
    EXPECT_EQ(block.state, fake::BlockState::OnClipboard);
    EXPECT_EQ(block.locks, 0);
    EXPECT_NE(fake::ClipboardHandle(CF_TEXT), nullptr);
}

void ExpectFakeClean()
{
    EXPECT_EQ(fake::Misuses(), std::vector<std::string>());
    EXPECT_FALSE(fake::ClipboardIsOpen()) << "left open";
    EXPECT_EQ(fake::LeakedBlocks(), 0u);
}

void ResetLeadBytes()
{
    const unsigned char none[] = {0, 0};
    BuildLeadByteTable(none, sizeof none);
}

HINSTANCE const Module = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x400000));

int RunProgram(const std::string& argument_text)
{
    // An exact-size copy: reading past the text's terminator is a heap overflow under ASan.
    std::unique_ptr<char[]> text(new char[argument_text.size() + 1]);
    memcpy(text.get(), argument_text.c_str(), argument_text.size() + 1);
    return ProgramEntry(Module, nullptr, text.get(), SW_SHOWDEFAULT);
}

// The calls that prepare a block of size bytes before the clipboard is touched.
Calls Filled(size_t size) { return {"GlobalAlloc(2, " + std::to_string(size) + ")", "GlobalLock(h1)", "GlobalUnlock(h1)"}; }

Calls operator+(Calls a, const Calls& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Calls Handed = {"OpenClipboard(NULL)", "EmptyClipboard()", "SetClipboardData(1, h1)", "CloseClipboard()"};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::Reset();
        ResetLeadBytes();
    }
    void TearDown() override { ExpectFakeClean(); }
};

TEST_F(ProgramTest, PublishFillsTheBlockBeforeItOpensTheClipboard)
{
    SeedOldContent();
    PublishClipboardText("hello");
    EXPECT_EQ(fake::Calls(), Filled(6) + Handed);
    ExpectPublished("hello");
}

TEST_F(ProgramTest, BlockHoldsTheTextAndItsTerminatorOnly)
{
    struct Case {
        std::string text;
        const char* why;
    };
    const Case cases[] = {
        {"hello", "plain text"},
        {"", "the empty text is a single terminator byte"},
        {"a\r\nb\nc\t\x01", "line ends and control bytes stay as they are"},
        {"\x81\x40\xff\x80", "bytes above 0x7F: no code page conversion"},
        {std::string(65535, 'x'), "the longest text fills 65536 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        fake::Reset();
        SeedOldContent();
        std::unique_ptr<char[]> text(new char[c.text.size() + 1]);
        memcpy(text.get(), c.text.c_str(), c.text.size() + 1);
        PublishClipboardText(text.get());
        EXPECT_EQ(fake::Calls(), Filled(c.text.size() + 1) + Handed);
        ExpectPublished(c.text);
        ExpectFakeClean();
    }
}

TEST_F(ProgramTest, EmptyArgumentTextShowsTheAboutBoxAndNothingElse)
{
    SeedOldContent();
    EXPECT_EQ(RunProgram(""), 0);
    EXPECT_EQ(fake::Calls(), Calls{"MessageBoxA(NULL, 64)"});
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    const fake::MessageBoxCall box = fake::MessageBoxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text,
              "Quillmote.exe\n"
              "Copyright (C) 2026 the Quillmote developers\n"
              "https://quillmote.example\n"
              "\n"
              "Software without warranty, use on your own risk.\n"
              "\n"
              "This program copies command line arguments to the clipboard.\n");
    EXPECT_EQ(box.title, "Quillmote");
    EXPECT_EQ(box.style, 0x40u) << "the information icon, one OK button, nothing else";
    ExpectOldContent();
}

TEST_F(ProgramTest, EmptinessIsDecidedBeforeTheCapAndTheQuotes)
{
    struct Case {
        std::string argument_text;
        std::string published;
        const char* why;
    };
    const std::string x(65533, 'x');
    const Case cases[] = {
        {R"("")", "", "two quotes publish an empty text, not the about box"},
        {R"(")", R"(")", "one quote is published as it is"},
        {" ", " ", "a blank is text once it is the argument text"},
        {R"("C:\My Files\a b.txt")", R"(C:\My Files\a b.txt)", "the quoted path arrives bare"},
        {R"("a" "b")", R"(a" "b)", "only the outer pair goes"},
        {std::string(70000, 'x'), std::string(65535, 'x'), "the cap"},
        {'"' + x + '"', x, "quoted text at the cap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        fake::Reset();
        SeedOldContent();
        EXPECT_EQ(RunProgram(c.argument_text), 0);
        EXPECT_TRUE(fake::MessageBoxes().empty());
        EXPECT_EQ(fake::Calls(), Filled(c.published.size() + 1) + Handed);
        ExpectPublished(c.published);
        ExpectFakeClean();
    }
}

TEST_F(ProgramTest, WaitsBrieflyForAClipboardThatAnotherProgramHolds)
{
    struct Case {
        int held_attempts;
        int opens;
        bool published;
        const char* why;
    };
    const Case cases[] = {
        {0, 1, true, "free at once: no sleep"},
        {2, 3, true, "free on the third try"},
        {9, 10, true, "free on the tenth and last try"},
        {10, 10, false, "held for all ten tries: give up"},
        {fake::Forever, 10, false, "held for good: still ten tries, never more"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        fake::Reset();
        SeedOldContent();
        fake::HoldClipboard(c.held_attempts);
        EXPECT_EQ(RunProgram("abc"), 0);

        Calls expected = Filled(4);
        for (int open = 1; open <= c.opens; ++open) {
            expected.push_back("OpenClipboard(NULL)");
            if (open < c.opens)
                expected.push_back("Sleep(100)");
        }
        if (c.published)
            expected = expected + Calls{"EmptyClipboard()", "SetClipboardData(1, h1)", "CloseClipboard()"};
        else
            expected.push_back("GlobalFree(h1)");
        EXPECT_EQ(fake::Calls(), expected);

        if (c.published) {
            ExpectPublished("abc");
        } else {
            ExpectOldContent();
            EXPECT_EQ(fake::Blocks()[0].state, fake::BlockState::Freed);
        }
        ExpectFakeClean();
    }
}

TEST_F(ProgramTest, FailuresLeaveNoBlockBehindAndReturnZero)
{
    struct Case {
        std::function<void()> arrange;
        Calls expected;
        bool old_content_kept;
        const char* why;
    };
    const Case cases[] = {
        {[] { fake::FailGlobalAlloc(true); }, {"GlobalAlloc(2, 4)"}, true,
         "no block: the clipboard is never opened"},
        {[] { fake::FailGlobalLock(true); }, {"GlobalAlloc(2, 4)", "GlobalLock(h1)", "GlobalFree(h1)"}, true,
         "a block that cannot be locked is freed unwritten, before the clipboard is opened"},
        {[] { fake::FailSetClipboardData(true); }, Filled(4) + Handed + Calls{"GlobalFree(h1)"}, false,
         "a block the clipboard refused stays ours to free"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        fake::Reset();
        SeedOldContent();
        c.arrange();
        EXPECT_EQ(RunProgram("abc"), 0);
        EXPECT_EQ(fake::Calls(), c.expected);
        if (c.old_content_kept)
            ExpectOldContent();
        for (const fake::Block& block : fake::Blocks())
            EXPECT_EQ(block.state, fake::BlockState::Freed);
        ExpectFakeClean();
    }
}

TEST_F(ProgramTest, StartUpScansWithTheCodePagesLeadBytesAndExitsWithZero)
{
    struct Case {
        UINT code_page;
        std::vector<BYTE> lead_byte_ranges;
        const char* command_line;
        bool about_box;
        std::string published;
        const char* why;
    };
    const std::vector<BYTE> shift_jis = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
    const Case cases[] = {
        {932, shift_jis, "q\xe0\" \"a b\"", false, "a b", "0xE0 of the second range hides the quote after it"},
        {1252, {}, "q\xe0\" \"a b\"", false, "b\"", "single-byte: that quote opens and the next one closes"},
        {1252, {}, R"("C:\Program Files\Quillmote.exe" "C:\My Files\a b.txt")", false, R"(C:\My Files\a b.txt)", "the usual run"},
        {1252, {}, R"(Quillmote.exe "")", false, "", "two quotes publish an empty text"},
        {1252, {}, nullptr, true, "", "no command line at all"},
        {1252, {}, "", true, "", "an empty command line"},
        {1252, {}, R"("C:\Program Files\Quillmote.exe")", true, "", "the name alone"},
        {1252, {}, "Quillmote.exe \t ", true, "", "only blanks after the name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        fake::Reset();
        ResetLeadBytes();
        SeedOldContent();
        fake::SetCodePage(c.code_page, c.lead_byte_ranges);
        fake::SetCommandLine(c.command_line);

        bool exited = false;
        try {
            StartProgram();
        } catch (const fake::ProcessExit& exit) {
            exited = true;
            EXPECT_EQ(exit.status, 0u);
        }
        EXPECT_TRUE(exited) << "StartProgram must end in ExitProcess";

        const Calls& calls = fake::Calls();
        auto at = [&](const std::string& call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
        const std::string get_cp_info = "GetCPInfo(" + std::to_string(c.code_page) + ")";
        EXPECT_LT(at("GetACP()"), at(get_cp_info)) << "the lead bytes of the ANSI code page";
        EXPECT_LT(at(get_cp_info), at("GetCommandLineA()")) << "the table is built before the scan";
        EXPECT_EQ(fake::CallCount("GetCommandLineA"), 1u);
        EXPECT_EQ(fake::CallCount("GetModuleHandleA"), 1u);
        EXPECT_LT(at("GetModuleHandleA(NULL)"), static_cast<std::ptrdiff_t>(calls.size())) << "the program's own module";
        EXPECT_EQ(fake::CallCount("ExitProcess"), 1u);
        EXPECT_EQ(calls.back(), "ExitProcess(0)");

        EXPECT_EQ(fake::MessageBoxes().size(), c.about_box ? 1u : 0u);
        if (c.about_box)
            ExpectOldContent();
        else
            ExpectPublished(c.published);
        ExpectFakeClean();
    }
}

// The checks above lean on the fake noticing faults; these are the faults it must notice.
TEST_F(ProgramTest, FakeCatchesLeaksAndMisusedClipboardBlocks)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 2);
    char* bytes = static_cast<char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    bytes[0] = 'a';
    bytes[1] = '\0';
    GlobalUnlock(block);
    EXPECT_EQ(fake::Blocks()[0].bytes, "a\0"s);
    EXPECT_EQ(fake::LeakedBlocks(), 1u) << "neither freed nor handed over";

    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr) << "Windows refuses it while the clipboard is closed";
    EXPECT_EQ(fake::Misuses().size(), 1u);
    EXPECT_EQ(fake::LeakedBlocks(), 1u);

    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
    CloseClipboard();
    EXPECT_EQ(fake::LeakedBlocks(), 0u);
    EXPECT_NE(GlobalFree(block), nullptr) << "the clipboard owns it now";
    EXPECT_EQ(fake::Misuses().size(), 2u);
    fake::Reset();
}

}  // namespace
