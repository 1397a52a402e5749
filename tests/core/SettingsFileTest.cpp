#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "settings/SettingsFile.h"
#include "support/FileLimits.h"
#include "support/TempDir.h"

namespace tavelo {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// The settings file of a run directory of its own.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { OverrideRunDirectory(dir_.path().string()); }
    void TearDown() override { OverrideRunDirectory(""); }

    // A save as the settings window does it.
    static void Save(const Text& nickname, const Text& botAvatar, const Text& ownAvatar) {
        WriteSetting("name1", nickname);
        WriteSetting("name2", botAvatar);
        WriteSetting("name3", ownAvatar);
        HideSettingsFile();
    }

    TempDir dir_;
    fs::path file_ = dir_ / "chat.ini";
};

TEST_F(SettingsFileTest, LivesInTheRunDirectory) {
    EXPECT_EQ(SettingsFilePath(), dir_.path().string() + "/chat.ini");
}

TEST_F(SettingsFileTest, NoFileReadsEmpty) {
    EXPECT_EQ(ReadSetting("name1"), "");
    EXPECT_EQ(ReadSetting("name2"), "");
    EXPECT_EQ(ReadSetting("name3"), "");
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(SettingsFileTest, FirstSaveCreatesTheFileMarkedHiddenSystemArchive) {
    const Text nickname = "\xC4\xFB\xC3\xCA";  // two characters of code page 936
    Save(nickname, "https://a.example/bot.png", "");

    EXPECT_EQ(ReadFileBytes(file_),
              "[pz]\r\nname1=" + nickname + "\r\nname2=https://a.example/bot.png\r\nname3=\r\n");
    EXPECT_EQ(ReadSetting("name1"), nickname);
    EXPECT_EQ(ReadSetting("name2"), "https://a.example/bot.png");
    EXPECT_EQ(ReadSetting("name3"), "");
    if (test::UserAttributesWork(dir_.path())) {
        EXPECT_EQ(GetFileAttributes(SettingsFilePath()), 0x26u);
    }
}

TEST_F(SettingsFileTest, SaveKeepsOtherSectionsAndKeysByteForByte) {
    const std::string before =
        "[window]\r\nname1=keep me\r\n\r\n"
        "[pz]\r\n; my bot\r\nname1=Old\r\nextra=still here\r\nname2=http://old\r\n\r\n"
        "[more]\nx = 1\n";
    WriteFileBytes(file_, before);
    Save("", "http://new", "http://own");

    EXPECT_EQ(ReadFileBytes(file_),
              "[window]\r\nname1=keep me\r\n\r\n"
              "[pz]\r\n; my bot\r\nname1=\r\nextra=still here\r\nname2=http://new\r\n"
              "name3=http://own\r\n\r\n"
              "[more]\nx = 1\n");
}

TEST_F(SettingsFileTest, ReadOnlyFileRefusesTheSaveButLosesItsMark) {
    WriteFileBytes(file_, "[pz]\r\nname1=Old\r\n");
    SetFileAttributes(SettingsFilePath(), kFileReadOnly);

    // The writes fail unnoticed; the marking that follows them clears read-only.
    Save("New", "", "");
    EXPECT_EQ(ReadSetting("name1"), "Old");
    EXPECT_EQ(GetFileAttributes(SettingsFilePath()) & kFileReadOnly, 0u);

    Save("New", "", "");
    EXPECT_EQ(ReadSetting("name1"), "New");
}

TEST_F(SettingsFileTest, SaveThatFailsHalfwayLeavesTheOldFile) {
    // A file larger than the writes may grow, as when the disk is full.
    const std::string before =
        "[pz]\r\nname1=Old\r\n[notes]\r\nn=" + std::string(64 * 1024, 'x') + "\r\n";
    WriteFileBytes(file_, before);
    {
        test::FileSizeLimit limit(4096);
        WriteSetting("name1", "New");
    }
    EXPECT_EQ(ReadFileBytes(file_), before);
    EXPECT_EQ(ReadSetting("name1"), "Old");
}

TEST_F(SettingsFileTest, UnwritableRunDirectoryCreatesNothing) {
    OverrideRunDirectory((dir_ / "missing").string());
    WriteSetting("name1", "New");
    HideSettingsFile();
    EXPECT_EQ(ReadSetting("name1"), "");
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

}  // namespace
}  // namespace tavelo
