// The whole program, run as its own process on a display of its own: it writes its page
// file beside itself and ends with exit code 0 by the close button and by Esc, also while a
// worker is still waiting on an answer service that never answers.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <QProcess>

#include "page/ChatPage.h"
#include "platform/FileSystem.h"
#include "support/HttpsTestServer.h"
#include "support/TempDir.h"

namespace tavelo {
namespace {

using namespace std::chrono_literals;

struct EndRow {
    const char* name;
    const char* action;
};

class ProgramEnd : public ::testing::TestWithParam<EndRow> {
protected:
    void SetUp() override {
        // A copy, so that the program's run directory is the temporary one.
        std::filesystem::copy_file(TAVELO_PROGRAM, program_);
        answerService_.SetReply({.neverAnswer = true});
        qputenv("TAVELO_ANSWER_URL", QByteArray::fromStdString(answerService_.Url()));
    }
    void TearDown() override { qunsetenv("TAVELO_ANSWER_URL"); }

    // Starts the program through the driver script, which ends it by the row's action; with
    // a message, the script first sends it and waits for the file `ready_`.
    void StartDriver(const QString& message = {}) {
        QStringList arguments = {"-a",
                                 "-s",
                                 "-screen 0 1280x1024x24",
                                 "bash",
                                 TAVELO_DRIVE_SCRIPT,
                                 QString::fromStdString(program_.string()),
                                 GetParam().action};
        if (!message.isEmpty()) {
            arguments << message << QString::fromStdString(ready_.string());
        }
        driver_.setProcessChannelMode(QProcess::MergedChannels);
        driver_.start("xvfb-run", arguments);
    }

    // What the driver printed once it has ended; its last line is the program's exit code.
    QString DriverOutput() {
        EXPECT_TRUE(driver_.waitForFinished(110000));
        return QString::fromUtf8(driver_.readAll()).trimmed();
    }

    test::TempDir dir_;
    const std::filesystem::path program_ = dir_ / "tavelo";
    const std::filesystem::path ready_ = dir_ / "ready";
    test::HttpsTestServer answerService_;
    QProcess driver_;
};

TEST_P(ProgramEnd, EndsWithExitCodeZero) {
    StartDriver();
    const QString output = DriverOutput();
    EXPECT_TRUE(output.endsWith("exit 0")) << output.toStdString();

    const auto page = dir_ / "ct7.html";
    EXPECT_EQ(test::ReadFileBytes(page), std::string(ChatPageBytes()));
    EXPECT_EQ(GetFileAttributes(page.string()) & kFileReadOnly, kFileReadOnly);
}

// Nothing of the program runs on against freed state when a worker outlives the window.
TEST_P(ProgramEnd, EndsAtOnceWhileALookupIsRunning) {
    StartDriver("hello");
    const bool asked = answerService_.WaitForRequests(1, 90s);
    test::WriteFileBytes(ready_, "");
    const QString output = DriverOutput();
    ASSERT_TRUE(asked) << output.toStdString();
    EXPECT_TRUE(output.endsWith("exit 0")) << output.toStdString();
    // The question, every byte percent-encoded.
    EXPECT_NE(answerService_.Requests().at(0).target.find("&q=%68%65%6C%6C%6F"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramEnd,
                         ::testing::Values(EndRow{"CloseButton", "close"},
                                           EndRow{"Escape", "escape"}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavelo
