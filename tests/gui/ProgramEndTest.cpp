// The whole program, run as its own process on a display of its own: it writes its page
// file beside itself and ends with exit code 0 by the close button and by Esc.
#include <gtest/gtest.h>

#include <filesystem>

#include <QProcess>

#include "page/ChatPage.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace tavelo {
namespace {

struct EndRow {
    const char* name;
    const char* action;
};

class ProgramEnd : public ::testing::TestWithParam<EndRow> {};

TEST_P(ProgramEnd, EndsWithExitCodeZero) {
    test::TempDir dir;
    // A copy, so that the program's run directory is the temporary one.
    const auto program = dir / "tavelo";
    std::filesystem::copy_file(TAVELO_PROGRAM, program);

    QProcess drive;
    drive.setProcessChannelMode(QProcess::MergedChannels);
    drive.start("xvfb-run", {"-a", "-s", "-screen 0 1280x1024x24", "bash", TAVELO_DRIVE_SCRIPT,
                             QString::fromStdString(program.string()), GetParam().action});
    ASSERT_TRUE(drive.waitForFinished(110000));
    const QString output = QString::fromUtf8(drive.readAll());
    EXPECT_TRUE(output.trimmed().endsWith("exit 0")) << output.toStdString();

    const auto page = dir / "ct7.html";
    EXPECT_EQ(test::ReadFileBytes(page), std::string(ChatPageBytes()));
    EXPECT_EQ(GetFileAttributes(page.string()) & kFileReadOnly, kFileReadOnly);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramEnd,
                         ::testing::Values(EndRow{"CloseButton", "close"},
                                           EndRow{"Escape", "escape"}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavelo
