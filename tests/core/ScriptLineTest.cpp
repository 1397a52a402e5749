#include "page/ScriptLine.h"

#include <gtest/gtest.h>

namespace tavelo {
namespace {

struct EscapeCase {
    const char* name;
    std::string text;
    std::string expected;
};

void PrintTo(const EscapeCase& row, std::ostream* os) {
    *os << row.name;
}

class EscapeScriptStringCases : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeScriptStringCases, Escapes) {
    EXPECT_EQ(EscapeScriptString(GetParam().text), GetParam().expected);
}

// 你好 in code page 936, and two characters whose second byte is 0x5C, a backslash in ASCII.
const std::string kHello = "\xC4\xE3\xBA\xC3";
const std::string kBackslashTrail = "\x81\x5C\xD7\x5C";

INSTANTIATE_TEST_SUITE_P(
    Rows, EscapeScriptStringCases,
    ::testing::Values(EscapeCase{"Plain", "hello, world #1 (ok)", "hello, world #1 (ok)"},
                      EscapeCase{"Empty", "", ""},
                      EscapeCase{"Backslash", R"(a\b\\)", R"(a\\b\\\\)"},
                      EscapeCase{"Quotes", R"(it's "so")", R"(it\'s \"so\")"},
                      EscapeCase{"LineBreaks", "a\r\nb\nc\r", R"(a\r\nb\nc\r)"},
                      EscapeCase{"OtherControls", "\t\x01\x1F\x7F", R"(\u0009\u0001\u001F\u007F)"},
                      EscapeCase{"MarkupCharacters", "</script><b>&amp;",
                                 R"(\u003C/script\u003E\u003Cb\u003E\u0026amp;)"},
                      EscapeCase{"ChineseStaysAsItIs", kHello, kHello},
                      EscapeCase{"SecondByteIsNotABackslash", kBackslashTrail + "\\",
                                 kBackslashTrail + R"(\\)"},
                      // The euro sign is one byte, 0x80, in code page 936: the quote after it is a
                      // character of its own.
                      EscapeCase{"QuoteAfterEuroSign", "\x80\"'",
                                 "\x80"
                                 R"(\"\')"},
                      // 0xA1 0x5C forms no character: the view shows "?" and then a backslash,
                      // which must not escape the quote's escape.
                      EscapeCase{"BackslashAfterABadLeadByte", "\xA1\x5C\"", R"(?\\\")"},
                      EscapeCase{"LoneLeadByteAtTheEnd", "a'\xC4", R"(a\'?)"}),
    [](const ::testing::TestParamInfo<EscapeCase>& row) { return std::string(row.param.name); });

TEST(BubbleScriptLine, FillsTheTemplateWithEscapedValues) {
    EXPECT_EQ(BubbleScriptLine("default", "a<br>\"b\"", "http://x/a.png?q='1'"),
              R"(AddMsg('default', "a\u003Cbr\u003E\"b\"",'http://x/a.png?q=\'1\'');)");
}

TEST(BubbleScriptLine, ChineseNameAndMessageStayReadable) {
    EXPECT_EQ(BubbleScriptLine(kHello, kHello + "!", "u"),
              "AddMsg('" + kHello + "', \"" + kHello + "!\",'u');");
}

TEST(BubbleScriptLine, LaterPlaceholdersAreFilledInsideEarlierValues) {
    // Pairs apply in order to the whole line: "#IMG" in the message, in any letter case,
    // becomes the avatar URL; "#NAME" in the message stays, since names go in first.
    EXPECT_EQ(BubbleScriptLine("bot", "see #img and #NAME", "it's.png"),
              R"(AddMsg('bot', "see it\'s.png and #NAME",'it\'s.png');)");
}

}  // namespace
}  // namespace tavelo
