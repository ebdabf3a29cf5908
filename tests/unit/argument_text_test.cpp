// The argument-text unit: where the arguments begin, the lead-byte table, the cap and the quote removal.
#include "argument_text.h"

#include <gtest/gtest.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

using namespace std::string_literals;  // "..."s keeps the zero bytes inside a literal

namespace {

// Lead bytes of a double-byte code page laid out like Shift JIS.
const std::vector<unsigned char> DoubleByte = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};

void UseLeadBytes(const std::vector<unsigned char>& ranges)
{
    // An exact-size copy: a read past max_bytes is a heap overflow under ASan.
    std::unique_ptr<unsigned char[]> copy(new unsigned char[ranges.size()]);
    memcpy(copy.get(), ranges.data(), ranges.size());
    BuildLeadByteTable(copy.get(), static_cast<unsigned>(ranges.size()));
}

void UseSingleByte() { UseLeadBytes({0, 0}); }

// Scans a command line held in a heap block of exactly its bytes and one terminator, so that a read
// past the end is caught by ASan; a row may carry bytes after an inner terminator to catch it without.
// Checks that the result is a tail of the command line itself, then returns its text.
std::string Find(const std::string& bytes)
{
    std::unique_ptr<char[]> line(new char[bytes.size() + 1]);
    memcpy(line.get(), bytes.data(), bytes.size());
    line[bytes.size()] = '\0';
    const char* end = line.get() + strlen(line.get());
    const char* found = FindArgumentText(line.get());
    EXPECT_TRUE(found >= line.get() && found <= end) << "not a position in the command line";
    if (found < line.get() || found > end)
        return "(outside)";
    EXPECT_EQ(found + strlen(found), end) << "does not run to the command line's terminator";
    return found;
}

struct FindCase {
    std::string command_line;
    std::string expected;
    const char* why;
};

class ArgumentTextTest : public ::testing::Test {
protected:
    void SetUp() override { UseSingleByte(); }  // the table is global: no test inherits another's
};

TEST_F(ArgumentTextTest, FindsWhereTheArgumentsBegin)
{
    const FindCase cases[] = {
        {R"("C:\Program Files\Quillmote.exe" "C:\My Files\a b.txt")", R"("C:\My Files\a b.txt")", "blanks inside the quoted path do not end it; the argument keeps its quotes"},
        {"Quillmote.exe a b", "a b", "plain program name"},
        {R"("C:\Program Files\Quillmote.exe")", "", "quoted name alone"},
        {"Quillmote.exe", "", "name alone"},
        {"Quillmote.exe   ", "", "only blanks after the name"},
        {R"(C:\a" b "c\q.exe x)", "x", "a quote that opens before a blank and closes after it keeps the token going"},
        {R"(q"a"b c)", "c", "quotes inside the token count and stay in it"},
        {R"("C:\a b\q.exe x y)", "", "an unclosed quote makes the whole rest the token"},
        {R"(q.exe "a b)", R"("a b)", "quotes in the arguments do not matter to the scan"},
        {R"(""" a)", "", "three quotes leave the quote open"},
        {R"("" a)", "a", "an empty quoted name"},
        {" Quillmote.exe a", "Quillmote.exe a", "a leading blank: the token is empty and the text starts at the name"},
        {"\t\x01q.exe a", "q.exe a", "leading control bytes are blanks too"},
        {"q.exe\ta", "a", "a tab ends the token"},
        {"q.exe\x01\x1f\x20" "a", "a", "0x01, 0x1F and 0x20 are blanks"},
        {"q.exe!a b", "b", "0x21 is the first byte that is not a blank"},
        {"q.exe \x7f", "\x7f", "DEL is above 0x20, so not a blank"},
        {"q.exe \xa0x", "\xa0x", "0xA0 is an ordinary byte"},
        {"q.exe a b  ", "a b  ", "blanks at the end belong to the argument text"},
        {"q.exe  \t a\tb", "a\tb", "every blank after the token goes, inner tabs stay"},
        {R"(q.exe "")", R"("")", "two quotes are an argument text, not nothing"},
        {R"(q.exe \"a\")", R"(\"a\")", "backslashes are plain bytes"},
        {"", "", "empty command line"},
        {"q\x81\" a", "", "without lead bytes 0x81 is ordinary, so the quote opens"},
        {"q.exe\0 a"s, "", "the terminator inside the token ends the scan"},
        {"\"q.exe\0\" a"s, "", "the terminator ends an open quote too"},
        {"q.exe a\0 b"s, "a", "the argument text ends at the terminator"},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Find(c.command_line), c.expected);
    }
}

TEST_F(ArgumentTextTest, NullCommandLineGivesAnEmptyText)
{
    const char* found = FindArgumentText(nullptr);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, "");
}

TEST_F(ArgumentTextTest, LeadBytesHideTheirTrailByte)
{
    UseLeadBytes(DoubleByte);
    const FindCase cases[] = {
        {"q\x81\" a", "a", "the quote is the trail of 0x81, so it opens nothing"},
        {"\"a\x81\" b\" c", "c", "a trail quote does not close the quote either"},
        {"q\x81 a b", "b", "a trail blank does not end the token"},
        {"q\x81\ta b", "b", "nor does a trail tab"},
        {"q\x81\x81\" a", "", "the second 0x81 is a trail byte, so the quote after it counts"},
        {"\x81 a b", "b", "a lead byte at the very start"},
        {"q\x81\0 x"s, "", "a lead byte before the terminator: the scan stops there"},
        {"q\x81", "", "the same at the very end of the memory"},
        {"q\x80\" a", "", "0x80 is below the first range"},
        {"q\x9f\" a", "a", "0x9F ends the first range"},
        {"q\xa0\" a", "", "0xA0 lies between the ranges"},
        {"q\xe0\" a", "a", "0xE0 opens the second range"},
        {"q\xfc\" a", "a", "0xFC ends it"},
        {"q\xfd\" a", "", "0xFD is past it"},
        {"q\xff\" a", "", "0xFF is ordinary"},
        {"q.exe \x81 a", "\x81 a", "the argument text is not scanned for lead bytes"},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(Find(c.command_line), c.expected);
    }
}

// The bytes from 0x21 that act as lead bytes, seen through the scan: a lead byte hides the quote after it.
std::vector<int> LeadBytesInUse()
{
    std::vector<int> leads;
    for (int c = 0x21; c <= 0xFF; ++c) {
        if (c == '"')
            continue;
        const char line[] = {static_cast<char>(c), '"', ' ', 'a', '\0'};
        if (strcmp(FindArgumentText(line), "a") == 0)
            leads.push_back(c);
    }
    return leads;
}

std::vector<int> Span(int first, int last, std::vector<int> more = {})
{
    std::vector<int> bytes;
    for (int c = first; c <= last; ++c)
        bytes.push_back(c);
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

TEST_F(ArgumentTextTest, BuildsTheLeadByteTableFromRanges)
{
    struct Case {
        std::vector<unsigned char> ranges;
        std::vector<int> expected;
        const char* why;
    };
    const Case cases[] = {
        {{0x81, 0x9F, 0xE0, 0xFC, 0, 0, 0, 0, 0, 0, 0, 0}, Span(0x81, 0x9F, Span(0xE0, 0xFC)), "two ranges, both ends included"},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {}, "single-byte code page"},
        {{0x81, 0x81, 0, 0, 0xA1, 0xA1}, {0x81}, "a pair of zeros ends the list"},
        {{0x81, 0x81, 0x83, 0x83, 0x85, 0x85, 0x87, 0x87, 0x89, 0x89, 0x8B, 0x8B}, {0x81, 0x83, 0x85, 0x87, 0x89, 0x8B}, "a full list with no zero pair stops at max_bytes"},
        {{0x81, 0x81, 0xA1}, {0x81}, "a lone byte at the end is no pair"},
        {{0xFE, 0xFF, 0, 0}, {0xFE, 0xFF}, "a range up to 0xFF ends"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        UseLeadBytes(c.ranges);
        EXPECT_EQ(LeadBytesInUse(), c.expected);
    }
}

TEST_F(ArgumentTextTest, LeadByteTableHonoursMaxBytesAndIsRebuiltWhole)
{
    const unsigned char ranges[] = {0x81, 0x9F, 0xE0, 0xFC, 0, 0};
    BuildLeadByteTable(ranges, 2);
    EXPECT_EQ(LeadBytesInUse(), Span(0x81, 0x9F)) << "only the first pair lies within max_bytes";
    BuildLeadByteTable(ranges, 0);
    EXPECT_EQ(LeadBytesInUse(), std::vector<int>()) << "nothing read, and the old table is gone";
    UseLeadBytes(DoubleByte);
    UseLeadBytes({0xA1, 0xA1, 0, 0});
    EXPECT_EQ(LeadBytesInUse(), std::vector<int>{0xA1}) << "a new table replaces the old one";
}

// Runs NormalizeArgumentText from an exact-size copy of the text into a buffer full of garbage.
std::string Normalize(const std::string& text, bool* last_byte_zero)
{
    std::unique_ptr<char[]> source(new char[text.size() + 1]);
    memcpy(source.get(), text.c_str(), text.size() + 1);
    std::unique_ptr<char[]> buffer(new char[ArgumentBufferSize]);
    memset(buffer.get(), 0xAB, ArgumentBufferSize);
    NormalizeArgumentText(source.get(), buffer.get());
    *last_byte_zero = buffer[ArgumentBufferSize - 1] == '\0';
    return std::string(buffer.get(), strnlen(buffer.get(), ArgumentBufferSize));
}

struct NormalizeCase {
    std::string text;
    std::string expected;
    const char* why;
};

void CheckNormalize(const NormalizeCase& c)
{
    SCOPED_TRACE(c.why);
    bool last_byte_zero = false;
    std::string result = Normalize(c.text, &last_byte_zero);
    EXPECT_TRUE(last_byte_zero) << "the buffer's last byte must be 0";
    EXPECT_EQ(result.size(), c.expected.size());
    EXPECT_TRUE(result == c.expected) << "text differs (sizes " << result.size() << " and " << c.expected.size() << ")";
}

TEST_F(ArgumentTextTest, RemovesOneEnclosingPairOfQuotes)
{
    const NormalizeCase cases[] = {
        {"abc", "abc", "no quotes"},
        {R"("C:\My Files\a b.txt")", R"(C:\My Files\a b.txt)", "one quoted path"},
        {R"("a" "b")", R"(a" "b)", "only the very first and the very last quote go"},
        {R"("a" )", R"("a" )", "a blank after the closing quote: the last byte is no quote"},
        {R"( "a")", R"( "a")", "a blank before the opening quote"},
        {R"("")", "", "two quotes leave nothing"},
        {R"(")", R"(")", "one quote is too short to enclose"},
        {R"(""")", R"(")", "three quotes: the middle one stays"},
        {R"("a\")", R"(a\)", "a backslash escapes nothing"},
        {R"(\"a\")", R"(\"a\")", "starts with a backslash"},
        {R"(a"b")", R"(a"b")", "first byte is no quote"},
        {R"("ab)", R"("ab)", "last byte is no quote"},
        {"\"\t a \t\"", "\t a \t", "blanks inside are not trimmed"},
        {"\t\"a\"\t", "\t\"a\"\t", "nor outside"},
        {"\"\x81\"\"", "\x81\"", "lead bytes play no part here"},
        {"a\x01\x7f\xff", "a\x01\x7f\xff", "every byte is copied as it is"},
    };
    for (const NormalizeCase& c : cases)
        CheckNormalize(c);
}

TEST_F(ArgumentTextTest, CapsTheTextAt65535Bytes)
{
    const std::string x(65533, 'x');
    const NormalizeCase cases[] = {
        {std::string(65534, 'x'), std::string(65534, 'x'), "one below the cap"},
        {std::string(65535, 'x'), std::string(65535, 'x'), "exactly the cap: whole, terminated at [65535]"},
        {std::string(65536, 'x'), std::string(65535, 'x'), "one past the cap is cut"},
        {std::string(200000, 'x'), std::string(65535, 'x'), "far past the cap"},
        {'"' + x + '"', x, "quoted text of exactly the cap is unquoted"},
        {'"' + x + "x\"", '"' + x + 'x', "the closing quote falls past the cap: the opening quote stays"},
        {'"' + x + "\"y", x, "the cut leaves a quote last, so the capped text is unquoted"},
        {std::string(65534, 'x') + "\x81\x40", std::string(65534, 'x') + "\x81", "the cut may split a double-byte character"},
    };
    for (const NormalizeCase& c : cases)
        CheckNormalize(c);
}

}  // namespace
