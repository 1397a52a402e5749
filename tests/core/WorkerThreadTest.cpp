#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/WorkerThread.h"
#include "support/ThreadStartRefusal.h"
#include "support/WaitFor.h"

namespace tavelo {

void PrintTo(const WorkerValue& value, std::ostream* os) {
    *os << (value.kind == WorkerArgumentKind::TextKind ? "text" : "bytes") << " \"" << value.bytes
        << "\" (" << value.bytes.size() << " bytes)";
}

namespace {

using Kind = WorkerArgumentKind;

// What a routine saw, handed back to the test through a promise.
std::vector<WorkerValue> RunAndCollect(const WorkerArguments& arguments) {
    std::promise<std::vector<WorkerValue>> seen;
    WorkerHandle handle = StartWorker(
        [&seen](const std::vector<WorkerValue>& values) {
            seen.set_value(values);
            return 0;
        },
        {}, arguments);
    EXPECT_TRUE(handle);
    handle.Join();
    return seen.get_future().get();
}

const std::string kWithZero("ab\0cd", 5);

struct Case {
    const char* name;
    WorkerArguments arguments;
    std::vector<WorkerValue> expected;
};

void PrintTo(const Case& row, std::ostream* os) {
    *os << row.name;
}

class WorkerArgumentRules : public ::testing::TestWithParam<Case> {};

TEST_P(WorkerArgumentRules, RoutineReceivesCopies) {
    EXPECT_EQ(RunAndCollect(GetParam().arguments), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WorkerArgumentRules,
    ::testing::Values(
        Case{"none", {}, {}},
        Case{"stops_at_first_omitted",
             {TextArgument("one"), std::nullopt, TextArgument("three")},
             {{Kind::TextKind, "one"}}},
        Case{"first_omitted_gives_none", {std::nullopt, TextArgument("two")}, {}},
        Case{"kinds_in_order",
             {ByteArrayArgument("b"), TextArgument("t"), ByteArrayArgument("c")},
             {{Kind::ByteArrayKind, "b"}, {Kind::TextKind, "t"}, {Kind::ByteArrayKind, "c"}}},
        Case{"text_cut_at_zero_byte", {TextArgument(kWithZero)}, {{Kind::TextKind, "ab"}}},
        Case{"byte_array_keeps_zero_bytes",
             {ByteArrayArgument(kWithZero)},
             {{Kind::ByteArrayKind, kWithZero}}},
        Case{"empty_text_and_empty_byte_array",
             {TextArgument(""), ByteArrayArgument("")},
             {{Kind::TextKind, ""}, {Kind::ByteArrayKind, ""}}},
        Case{"at_most_ten",
             {TextArgument("1"), TextArgument("2"), TextArgument("3"), TextArgument("4"),
              TextArgument("5"), TextArgument("6"), TextArgument("7"), TextArgument("8"),
              TextArgument("9"), TextArgument("10"), TextArgument("11")},
             {{Kind::TextKind, "1"},
              {Kind::TextKind, "2"},
              {Kind::TextKind, "3"},
              {Kind::TextKind, "4"},
              {Kind::TextKind, "5"},
              {Kind::TextKind, "6"},
              {Kind::TextKind, "7"},
              {Kind::TextKind, "8"},
              {Kind::TextKind, "9"},
              {Kind::TextKind, "10"}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StartWorker, CopiesBeforeTheCallerChangesItsVariables) {
    // Suspended, the routine cannot run before the caller has overwritten and freed its text.
    auto text = std::make_unique<std::string>("question");
    std::string bytes("\x01\x00\x02", 3);
    std::promise<std::vector<WorkerValue>> seen;
    WorkerHandle handle = StartWorker(
        [&seen](const std::vector<WorkerValue>& values) {
            seen.set_value(values);
            return 0;
        },
        {.createSuspended = true}, {TextArgument(*text), ByteArrayArgument(bytes)});
    ASSERT_TRUE(handle);
    text->assign("changed after the call");
    text.reset();
    bytes.assign("xyz");
    handle.Resume();
    handle.Join();
    const std::vector<WorkerValue> expected{{Kind::TextKind, "question"},
                                            {Kind::ByteArrayKind, std::string("\x01\x00\x02", 3)}};
    EXPECT_EQ(seen.get_future().get(), expected);
}

TEST(StartWorker, NoRoutineNoThread) {
    std::thread::id id;
    WorkerHandle handle = StartWorker(nullptr, {.threadId = &id}, {TextArgument("x")});
    EXPECT_FALSE(handle);
    EXPECT_EQ(id, std::thread::id());
}

TEST(StartWorker, ReportsTheIdOfTheThreadThatRunsTheRoutine) {
    std::thread::id reported;
    std::promise<std::thread::id> ran;
    WorkerHandle handle = StartWorker(
        [&ran](const std::vector<WorkerValue>&) {
            ran.set_value(std::this_thread::get_id());
            return 0;
        },
        {.threadId = &reported});
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle.threadId(), reported);
    handle.Join();
    const std::thread::id runner = ran.get_future().get();
    EXPECT_EQ(runner, reported);
    EXPECT_NE(runner, std::this_thread::get_id());
}

TEST(StartWorker, SuspendedThreadWaitsForResume) {
    std::atomic<bool> ran = false;
    WorkerHandle handle = StartWorker(
        [&ran](const std::vector<WorkerValue>&) {
            ran = true;
            return 0;
        },
        {.createSuspended = true});
    ASSERT_TRUE(handle);
    EXPECT_FALSE(ran);
    handle.Resume();
    handle.Join();
    EXPECT_TRUE(ran);
}

// Whatever the routine holds (here a token it captured) is released on the worker once the
// thread ends by itself; a token still held would show the thread never finished.
struct ReleaseCase {
    const char* name;
    bool createSuspended;
    bool throws;
    bool expectRun;
};

void PrintTo(const ReleaseCase& row, std::ostream* os) {
    *os << row.name;
}

class WorkerRelease : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(WorkerRelease, ThreadReleasesWhatItHoldsWithoutBeingJoined) {
    const auto& c = GetParam();
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    auto ran = std::make_shared<std::atomic<bool>>(false);
    {
        WorkerHandle handle = StartWorker(
            [token = std::move(token), ran, throws = c.throws](const std::vector<WorkerValue>&) {
                *ran = true;
                if (throws) {
                    throw std::runtime_error("routine failed");
                }
                return 0;
            },
            {.createSuspended = c.createSuspended}, {TextArgument("copy")});
        ASSERT_TRUE(handle);
    }  // the handle is dropped: the thread goes on by itself
    EXPECT_TRUE(test::WaitFor([&] { return watch.expired(); }));
    EXPECT_EQ(*ran, c.expectRun);
}

INSTANTIATE_TEST_SUITE_P(Cases, WorkerRelease,
                         ::testing::Values(ReleaseCase{"routine_returns", false, false, true},
                                           ReleaseCase{"routine_throws", false, true, true},
                                           ReleaseCase{"never_resumed", true, false, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(StartWorker, RefusedThreadGivesAnEmptyHandleAndReleasesTheCopies) {
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    std::thread::id id;
    WorkerHandle handle;
    {
        test::ThreadStartRefusal refusal;
        handle =
            StartWorker([token = std::move(token)](const std::vector<WorkerValue>&) { return 0; },
                        {.threadId = &id}, {TextArgument("copy")});
    }
    EXPECT_FALSE(handle);
    EXPECT_EQ(id, std::thread::id());
    EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace tavelo
