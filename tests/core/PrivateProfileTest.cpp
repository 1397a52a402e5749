#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "support/TempDir.h"

namespace tavelo {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

constexpr std::size_t kBuffer = 10240;

// "丂" is 81 40; 81 41 and 81 61 are two other characters whose second bytes are "A" and "a".
const std::string kTrailUpperA = "\x81\x41";
const std::string kTrailLowerA = "\x81\x61";
// A character whose second byte is "]".
const std::string kTrailBracket = "\x81\x5D";

struct ReadCase {
    const char* name;
    std::string content;
    std::string section, key;
    std::string expected;
};

void PrintTo(const ReadCase& row, std::ostream* os) {
    *os << row.name;
}

class ProfileReadTest : public ::testing::TestWithParam<ReadCase> {
protected:
    TempDir dir_;
    Text path_ = (dir_ / "chat.ini").string();
};

TEST_P(ProfileReadTest, Reads) {
    const ReadCase& c = GetParam();
    WriteFileBytes(path_, c.content);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, kBuffer, path_), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadTest,
    ::testing::Values(
        ReadCase{"plain", "[pz]\r\nname1=Bot\r\n", "pz", "name1", "Bot"},
        ReadCase{"names_ignore_ascii_case", "[PZ]\r\nNaMe1=Bot\r\n", "pz", "name1", "Bot"},
        ReadCase{"blanks_around_names_and_values", " [ pz ] \r\n\t name1 \t= \tBot Two \t\r\n",
                 "pz", "name1", "Bot Two"},
        ReadCase{"line_feeds_only", "[pz]\nname1=Bot\nname2=x\n", "pz", "name2", "x"},
        ReadCase{"no_line_end_at_the_end", "[pz]\r\nname1=Bot", "pz", "name1", "Bot"},
        ReadCase{"value_holding_equals", "[pz]\r\nname2=http://a/?b=c\r\n", "pz", "name2",
                 "http://a/?b=c"},
        ReadCase{"empty_value", "[pz]\r\nname1=\r\n", "pz", "name1", ""},
        ReadCase{"key_without_equals", "[pz]\r\nname1\r\n", "pz", "name1", ""},
        ReadCase{"missing_key", "[pz]\r\nname1=a\r\n", "pz", "name2", ""},
        ReadCase{"missing_section", "[other]\r\nname1=a\r\n", "pz", "name1", ""},
        ReadCase{"empty_file", "", "pz", "name1", ""},
        ReadCase{"key_before_any_section", "name1=a\r\n[pz]\r\n", "pz", "name1", ""},
        ReadCase{"key_of_the_next_section", "[pz]\r\nname2=b\r\n[x]\r\nname1=a\r\n", "pz", "name1",
                 ""},
        ReadCase{"commented_out", "[pz]\r\n;name1=a\r\n", "pz", "name1", ""},
        ReadCase{"first_of_two_entries", "[pz]\r\nname1=a\r\nname1=b\r\n", "pz", "name1", "a"},
        ReadCase{"only_the_first_section_of_a_name", "[pz]\r\n[x]\r\n[pz]\r\nname1=a\r\n", "pz",
                 "name1", ""},
        ReadCase{"after_a_utf8_mark", "\xEF\xBB\xBF[pz]\r\nname1=a\r\n", "pz", "name1", "a"},
        ReadCase{"two_byte_value", "[pz]\r\nname1=\xC4\xFB\xBA\xC3\r\n", "pz", "name1",
                 "\xC4\xFB\xBA\xC3"},
        ReadCase{"trail_byte_letters_keep_their_case",
                 "[pz]\r\n" + kTrailLowerA + "=a\r\n" + kTrailUpperA + "=b\r\n", "pz", kTrailUpperA,
                 "b"},
        ReadCase{"trail_byte_bracket_in_a_section_name", "[" + kTrailBracket + "]\r\nk=v\r\n",
                 kTrailBracket, "k", "v"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ProfileRead, MissingFileOrDirectoryReadsEmpty) {
    TempDir dir;
    EXPECT_EQ(GetPrivateProfileString("pz", "name1", kBuffer, (dir / "none.ini").string()), "");
    EXPECT_EQ(GetPrivateProfileString("pz", "name1", kBuffer, dir.path().string()), "");
}

struct CutCase {
    const char* name;
    std::string value;
    std::size_t expectedLength;
};

class ProfileCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(ProfileCutTest, LongValuesAreCutToTheBuffer) {
    const CutCase& c = GetParam();
    TempDir dir;
    const Text path = (dir / "chat.ini").string();
    WriteFileBytes(path, "[pz]\r\nname1=" + c.value + "\r\n");
    EXPECT_EQ(GetPrivateProfileString("pz", "name1", kBuffer, path),
              c.value.substr(0, c.expectedLength));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileCutTest,
    ::testing::Values(
        CutCase{"fits_exactly", std::string(10239, 'a'), 10239},
        CutCase{"one_byte_over", std::string(10240, 'a'), 10239},
        CutCase{"far_over", std::string(50000, 'a'), 10239},
        // 10238 ASCII bytes and a two-byte character: it does not fit whole.
        CutCase{"character_across_the_cut", std::string(10238, 'a') + "\xC4\xE3" + "b", 10238},
        CutCase{"character_ending_at_the_cut", std::string(10237, 'a') + "\xC4\xE3" + "b", 10239}),
    [](const auto& row) { return std::string(row.param.name); });

struct WriteCase {
    const char* name;
    std::optional<std::string> before;  // no file when absent
    std::string key, value;
    std::string expected;
    std::optional<std::string> readBack;  // when it is not `value`
};

void PrintTo(const WriteCase& row, std::ostream* os) {
    *os << row.name;
}

class ProfileWriteTest : public ::testing::TestWithParam<WriteCase> {
protected:
    TempDir dir_;
    Text path_ = (dir_ / "chat.ini").string();
};

TEST_P(ProfileWriteTest, Writes) {
    const WriteCase& c = GetParam();
    if (c.before) {
        WriteFileBytes(path_, *c.before);
    }
    EXPECT_TRUE(WritePrivateProfileString("pz", c.key, c.value, path_));
    EXPECT_EQ(ReadFileBytes(path_), c.expected);
    EXPECT_EQ(GetPrivateProfileString("pz", c.key, kBuffer, path_), c.readBack.value_or(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWriteTest,
    ::testing::Values(
        WriteCase{"new_file", std::nullopt, "name1", "Bot", "[pz]\r\nname1=Bot\r\n"},
        WriteCase{"empty_file", "", "name1", "Bot", "[pz]\r\nname1=Bot\r\n"},
        WriteCase{"empty_value_keeps_the_key", "[pz]\r\nname1=Old\r\n", "name1", "",
                  "[pz]\r\nname1=\r\n"},
        WriteCase{"existing_entry_keeps_its_spelling", "[PZ]\r\n  NAME1 = Old \r\nx=1\r\n", "name1",
                  "New", "[PZ]\r\n  NAME1 =New\r\nx=1\r\n"},
        WriteCase{"bare_key_gets_its_equals", "[pz]\r\nname1\r\n", "name1", "Bot",
                  "[pz]\r\nname1=Bot\r\n"},
        WriteCase{"new_key_after_the_last_entry", "[pz]\r\nname1=a\r\n\r\n[b]\r\nk=v\r\n", "name2",
                  "b", "[pz]\r\nname1=a\r\nname2=b\r\n\r\n[b]\r\nk=v\r\n"},
        WriteCase{"new_key_in_a_section_without_entries", "[pz]\r\n;note\r\n[b]\r\n", "name1", "a",
                  "[pz]\r\nname1=a\r\n;note\r\n[b]\r\n"},
        WriteCase{"new_key_on_an_unterminated_last_line", "[pz]\r\nname1=a", "name2", "b",
                  "[pz]\r\nname1=a\r\nname2=b\r\n"},
        WriteCase{"new_section_at_the_end", "[a]\r\nk=v\r\n", "name1", "x",
                  "[a]\r\nk=v\r\n[pz]\r\nname1=x\r\n"},
        WriteCase{"new_section_after_an_unterminated_line", "[a]\r\nk=v", "name1", "x",
                  "[a]\r\nk=v\r\n[pz]\r\nname1=x\r\n"},
        WriteCase{"line_feed_file_gets_line_feeds", "[a]\nk=v\n", "name1", "x",
                  "[a]\nk=v\n[pz]\nname1=x\n"},
        WriteCase{"utf8_mark_stays", "\xEF\xBB\xBF[pz]\r\nname1=a\r\n", "name1", "b",
                  "\xEF\xBB\xBF[pz]\r\nname1=b\r\n"},
        WriteCase{"only_the_first_section_of_a_name", "[pz]\r\n[x]\r\n[pz]\r\nname1=a\r\n", "name1",
                  "b", "[pz]\r\nname1=b\r\n[x]\r\n[pz]\r\nname1=a\r\n"},
        WriteCase{"line_breaks_cannot_add_keys", std::nullopt, "name1", "a\r\nname2=evil",
                  "[pz]\r\nname1=a  name2=evil\r\n", "a  name2=evil"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ProfileWrite, LeavesEveryOtherByteAsItWas) {
    TempDir dir;
    const Text path = (dir / "chat.ini").string();
    const std::string head =
        "; settings of the chat\r\n"
        "[window]\r\n"
        "name1 = not ours\r\n"
        "  weird   line without equals  \n"
        "\r\n"
        "[Pz]\r\n"
        "name2=\xC4\xE3\xBA\xC3  \r\n"
        ";name1=commented\r\n";
    const std::string tail =
        "name3=c\r\n"
        "\r\n"
        "[other] ; trailing comment\r\n"
        "name1=x\r\n"
        "\x81\x40=\x81\x41\r\n"
        "last line without end";
    WriteFileBytes(path, head + "name1=old\r\n" + tail);

    ASSERT_TRUE(WritePrivateProfileString("pz", "name1", "new", path));
    EXPECT_EQ(ReadFileBytes(path), head + "name1=new\r\n" + tail);
    EXPECT_EQ(GetPrivateProfileString("window", "name1", kBuffer, path), "not ours");
    EXPECT_EQ(GetPrivateProfileString("pz", "name2", kBuffer, path), "\xC4\xE3\xBA\xC3");
}

TEST(ProfileWrite, KeysComeInTheOrderOfTheirFirstWrite) {
    TempDir dir;
    const Text path = (dir / "chat.ini").string();
    for (const char* key : {"name1", "name2", "name3", "name1"}) {
        ASSERT_TRUE(WritePrivateProfileString("pz", key, key, path));
    }
    EXPECT_EQ(ReadFileBytes(path), "[pz]\r\nname1=name1\r\nname2=name2\r\nname3=name3\r\n");
}

TEST(ProfileWrite, RefusesAndChangesNothing) {
    TempDir dir;
    const Text path = (dir / "chat.ini").string();
    // Names that could not be found again afterwards.
    EXPECT_FALSE(WritePrivateProfileString("pz", "", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("pz", "a=b", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("pz", ";a", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("pz", "[a", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("p]z", "a", "v", path));
    EXPECT_FALSE(WritePrivateProfileString("", "a", "v", path));
    EXPECT_FALSE(fs::exists(path));

    // A read-only file, as the Windows service refuses it.
    WriteFileBytes(path, "[pz]\r\nname1=old\r\n");
    SetFileAttributes(path, kFileReadOnly);
    EXPECT_FALSE(WritePrivateProfileString("pz", "name1", "new", path));
    EXPECT_EQ(ReadFileBytes(path), "[pz]\r\nname1=old\r\n");

    // A directory in place of the file.
    EXPECT_FALSE(WritePrivateProfileString("pz", "name1", "new", dir.path().string()));
}

}  // namespace
}  // namespace tavelo
