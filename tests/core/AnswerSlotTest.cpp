#include "answer/AnswerSlot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace tavelo {
namespace {

TEST(AnswerSlotTest, HoldsOnePublishedAnswerUntilTaken) {
    AnswerSlot slot;
    EXPECT_FALSE(slot.HasAnswer());
    EXPECT_EQ(slot.Take(), std::nullopt);

    slot.Publish("reply");

    EXPECT_TRUE(slot.HasAnswer());
    EXPECT_EQ(slot.Take(), "reply");
    EXPECT_FALSE(slot.HasAnswer());
    EXPECT_EQ(slot.Take(), std::nullopt);
}

TEST(AnswerSlotTest, NotifierSeesTheAnswerAlreadyPublished) {
    AnswerSlot slot;
    int calls = 0;
    bool answerVisible = false;
    slot.SetNotifier([&] {
        ++calls;
        answerVisible = slot.HasAnswer();
    });

    slot.Publish("reply");

    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(answerVisible);
}

TEST(AnswerSlotTest, NotifierSetAfterThePublicationRunsAtOnce) {
    AnswerSlot slot;
    slot.Publish("early");
    int calls = 0;

    slot.SetNotifier([&] { ++calls; });

    EXPECT_EQ(calls, 1);
    EXPECT_EQ(slot.Take(), "early");
}

TEST(AnswerSlotTest, ReaderSeesNothingOrTheWholeText) {
    // Long enough that a torn copy would show.
    const Text reply(64 * 1024, 'r');
    constexpr int kRounds = 100;
    for (int round = 0; round < kRounds; ++round) {
        AnswerSlot slot;
        std::atomic<bool> notified = false;
        slot.SetNotifier([&] { notified = true; });
        std::thread writer([&] { slot.Publish(reply); });
        std::optional<Text> seen;
        while (!seen) {
            seen = slot.Take();
        }
        writer.join();
        ASSERT_TRUE(*seen == reply) << "round " << round;
        EXPECT_TRUE(notified);
    }
}

}  // namespace
}  // namespace tavelo
