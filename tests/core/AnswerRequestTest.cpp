#include "app/AnswerRequest.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <memory>
#include <string>

#include "support/HttpsTestServer.h"
#include "support/ThreadCount.h"
#include "support/ThreadStartRefusal.h"
#include "support/WaitFor.h"

namespace tavelo {
namespace {

const std::string kFallback = "\xCE\xD2\xB2\xBB\xD6\xAA\xB5\xC0\xC5\xB6\xA3\xA1";  // 我不知道哦！

TEST(StartAnswerLookup, WorkerAsksWithItsOwnCopyAndPublishes) {
    test::HttpsTestServer server;
    server.SetReply({.headers = {{"Content-Type", "application/json"}},
                     .body = R"({"data":[{"value":{"answer":"fine"}}]})"});
    setenv("TAVELO_ANSWER_URL", server.Url().c_str(), 1);
    const std::size_t threads = test::ThreadCount();
    auto slot = std::make_shared<AnswerSlot>();
    std::atomic<int> notified = 0;
    slot->SetNotifier([&notified] { ++notified; });

    std::string question = "a<br>b";
    EXPECT_TRUE(StartAnswerLookup(slot, question));
    question.assign("changed at once");

    EXPECT_TRUE(test::WaitFor([&] { return notified.load() == 1; }));
    EXPECT_EQ(slot->Take(), "fine");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_TRUE(server.Requests()[0].target.ends_with("&q=%61%3C%62%72%3E%62&"))
        << server.Requests()[0].target;
    unsetenv("TAVELO_ANSWER_URL");
    // Nobody joins the worker; the test still lets it end, so that the process's exit does
    // not tear the TLS library down while the worker is releasing its connection.
    EXPECT_TRUE(test::WaitFor([&] { return test::ThreadCount() <= threads; }));
}

TEST(StartAnswerLookup, WorkerThatCannotStartLeavesTheFallbackAtOnce) {
    // Whoever waits on the slot is woken with the fallback instead of waiting for ever.
    auto slot = std::make_shared<AnswerSlot>();
    int notified = 0;
    slot->SetNotifier([&notified] { ++notified; });
    {
        test::ThreadStartRefusal refusal;
        EXPECT_FALSE(StartAnswerLookup(slot, "question"));
    }
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(slot->Take(), kFallback);
}

}  // namespace
}  // namespace tavelo
