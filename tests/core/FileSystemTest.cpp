#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/FileLimits.h"
#include "support/TempDir.h"

namespace tavelo {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

mode_t ModeOf(const fs::path& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

std::string RawMarks(const fs::path& path) {
    char value[64];
    const ssize_t length = getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof value);
    return length < 0 ? std::string() : std::string(value, static_cast<std::size_t>(length));
}

// The names in a directory, to see that no temporary file stays behind.
std::vector<std::string> NamesIn(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RunDirectory, IsTheExecutablesDirectoryUnlessOverridden) {
    const Text real = RunDirectory();
    EXPECT_TRUE(fs::equivalent(real, TAVELO_TEST_BINARY_DIR));
    EXPECT_NE(real.back(), '/');

    OverrideRunDirectory("/somewhere/else");
    EXPECT_EQ(RunDirectory(), "/somewhere/else");
    OverrideRunDirectory("");
    EXPECT_EQ(RunDirectory(), real);
}

class FileAttributesTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFileBytes(file_, "content"); }

    TempDir dir_;
    fs::path file_ = dir_ / "page.html";
    Text path_ = file_.string();
};

struct AttributeCase {
    const char* name;
    std::uint32_t before;  // set first
    std::uint32_t set;
    std::uint32_t expected;
};

class AttributeReplaceTest : public FileAttributesTest,
                             public ::testing::WithParamInterface<AttributeCase> {};

TEST_P(AttributeReplaceTest, NewAttributesReplaceTheEarlierOnes) {
    const AttributeCase& c = GetParam();
    // Without extended attributes only the read-only mark can be kept.
    const std::uint32_t kept = test::UserAttributesWork(dir_.path()) ? 0x27u : kFileReadOnly;

    ASSERT_TRUE(SetFileAttributes(path_, c.before));
    ASSERT_TRUE(SetFileAttributes(path_, c.set));
    EXPECT_EQ(GetFileAttributes(path_), c.expected & kept);
    const bool readOnly = (c.expected & kFileReadOnly) != 0;
    EXPECT_EQ((ModeOf(file_) & 0222) == 0, readOnly);
    if (!readOnly) {
        EXPECT_NE(ModeOf(file_) & S_IWUSR, 0u) << "the owner may write again";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AttributeReplaceTest,
    ::testing::Values(AttributeCase{"all_four", 0, 0x27, 0x27},
                      AttributeCase{"read_only_cleared", 0x27, 0x26, 0x26},
                      AttributeCase{"marks_cleared", 0x26, 0x01, 0x01},
                      AttributeCase{"everything_cleared", 0x27, 0, 0},
                      AttributeCase{"archive_alone", 0x06, 0x20, 0x20},
                      AttributeCase{"other_bits_masked_away", 0, 0xFFFFFFFF, 0x27},
                      AttributeCase{"directory_and_normal_bits_dropped", 0, 0x92, 0x02}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(FileAttributesTest, MarksAreStoredAsSambaText) {
    if (!test::UserAttributesWork(dir_.path())) {
        GTEST_SKIP() << "no extended attributes here";
    }
    SetFileAttributes(path_, 0x26);
    EXPECT_EQ(RawMarks(file_), "0x26");
    // Samba's binary form starts with the same text and a zero.
    const std::string samba("0x22\0\3\0\3\0", 10);
    setxattr(file_.c_str(), "user.DOSATTRIB", samba.data(), samba.size(), 0);
    EXPECT_EQ(GetFileAttributes(path_), 0x22u);

    SetFileAttributes(path_, 0);
    EXPECT_EQ(RawMarks(file_), "");
}

TEST_F(FileAttributesTest, ClearingReadOnlyGivesBackOnlyTheOwnersWriteBit) {
    fs::permissions(file_, fs::perms(0444));
    SetFileAttributes(path_, 0);
    EXPECT_EQ(ModeOf(file_), 0644u);
    // A writable file keeps its permissions as they are.
    fs::permissions(file_, fs::perms(0660));
    SetFileAttributes(path_, 0x20);
    EXPECT_EQ(ModeOf(file_), 0660u);
}

TEST_F(FileAttributesTest, MissingFile) {
    EXPECT_FALSE(SetFileAttributes((dir_ / "missing").string(), 0x26));
    EXPECT_EQ(GetFileAttributes((dir_ / "missing").string()), kInvalidFileAttributes);
}

TEST_F(FileAttributesTest, DeleteRefusesReadOnlyFiles) {
    SetFileAttributes(path_, 0x27);
    EXPECT_FALSE(DeleteFileRefusingReadOnly(path_));
    EXPECT_TRUE(fs::exists(file_));

    SetFileAttributes(path_, 0x26);
    EXPECT_TRUE(DeleteFileRefusingReadOnly(path_));
    EXPECT_FALSE(fs::exists(file_));
    EXPECT_FALSE(DeleteFileRefusingReadOnly(path_));
    EXPECT_FALSE(DeleteFileRefusingReadOnly(dir_.path().string()));
}

TEST_F(FileAttributesTest, WriteRefusesReadOnlyFiles) {
    SetFileAttributes(path_, 0x27);
    EXPECT_FALSE(WriteFileRefusingReadOnly(path_, "other"));
    EXPECT_EQ(ReadFileBytes(file_), "content");

    SetFileAttributes(path_, 0);
    EXPECT_TRUE(WriteFileRefusingReadOnly(path_, "other"));
    EXPECT_EQ(ReadFileBytes(file_), "other");
}

TEST_F(FileAttributesTest, WriteCreatesAndReplacesWholeFiles) {
    const fs::path fresh = dir_ / "fresh.txt";
    EXPECT_TRUE(WriteFileRefusingReadOnly(fresh.string(), std::string("a\0b", 3)));
    EXPECT_EQ(ReadFileBytes(fresh), std::string("a\0b", 3));
    EXPECT_TRUE(WriteFileRefusingReadOnly(fresh.string(), "x"));
    EXPECT_EQ(ReadFileBytes(fresh), "x");
    EXPECT_TRUE(WriteFileRefusingReadOnly(fresh.string(), ""));
    EXPECT_EQ(ReadFileBytes(fresh), "");
    EXPECT_EQ(NamesIn(dir_.path()), (std::vector<std::string>{"fresh.txt", "page.html"}));
    EXPECT_FALSE(WriteFileRefusingReadOnly((dir_ / "no/such/dir/file").string(), "x"));
}

TEST_F(FileAttributesTest, WriteKeepsPermissionsAndMarks) {
    fs::permissions(file_, fs::perms(0640));
    SetFileAttributes(path_, 0x26);
    const std::uint32_t marks = GetFileAttributes(path_);

    ASSERT_TRUE(WriteFileRefusingReadOnly(path_, "new"));
    EXPECT_EQ(ModeOf(file_), 0640u);
    EXPECT_EQ(GetFileAttributes(path_), marks);
}

TEST_F(FileAttributesTest, WriteThroughALinkReplacesItsTarget) {
    const fs::path link = dir_ / "link.html";
    fs::create_symlink(file_, link);
    ASSERT_TRUE(WriteFileRefusingReadOnly(link.string(), "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(file_), "through the link");
}

TEST_F(FileAttributesTest, WriteThatFailsHalfwayLeavesTheOldFile) {
    const std::string big(256 * 1024, 'x');
    {
        // Writes stop after 4 KiB, as on a full disk.
        test::FileSizeLimit limit(4096);
        EXPECT_FALSE(WriteFileRefusingReadOnly(path_, big));
    }
    EXPECT_EQ(ReadFileBytes(file_), "content");
    EXPECT_EQ(NamesIn(dir_.path()), std::vector<std::string>{"page.html"});
}

TEST_F(FileAttributesTest, WriteIntoADirectoryWithoutWritePermission) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root may write into any directory";
    }
    fs::permissions(dir_.path(), fs::perms(0555));
    EXPECT_FALSE(WriteFileRefusingReadOnly(path_, "other"));
    fs::permissions(dir_.path(), fs::perms(0755));
    EXPECT_EQ(ReadFileBytes(file_), "content");
}

}  // namespace
}  // namespace tavelo
