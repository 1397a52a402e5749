#include "answer/AnswerLookup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/HttpsTestServer.h"

namespace tavelo {
namespace {

using test::HttpsTestServer;
using test::RecordedRequest;
using test::TestReply;

const std::string kFallback = "\xCE\xD2\xB2\xBB\xD6\xAA\xB5\xC0\xC5\xB6\xA3\xA1";  // 我不知道哦！
const std::string kQueryPrefix =
    "/quark/1/ai?format=json&uc_param_str=dnntnwvepffrgibijbprsvdsdicheicpniwiutmiud"
    "&session_id=a3c95f02-4b18-4e6d-9c27-5d80f6b3e1c4&q=";

// A local server standing in for the answer service, named in TAVELO_ANSWER_URL.
class AnswerServiceTest : public ::testing::Test {
protected:
    AnswerServiceTest() { setenv("TAVELO_ANSWER_URL", server_.Url().c_str(), 1); }
    ~AnswerServiceTest() override { unsetenv("TAVELO_ANSWER_URL"); }

    HttpsTestServer server_;
};

struct ReplyCase {
    const char* name;
    TestReply reply;
    std::string expected;
};

// Rows print as their names in test listings and failures.
void PrintTo(const ReplyCase& row, std::ostream* os) {
    *os << row.name;
}

class AnswerReplyTest : public AnswerServiceTest,
                        public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(AnswerReplyTest, ReadsTheFirstPathHoldingText) {
    server_.SetReply(GetParam().reply);

    EXPECT_EQ(LookupAnswer("q"), GetParam().expected);
}

TestReply Json(std::string body) {
    return TestReply{.headers = {{"Content-Type", "application/json; charset=utf-8"}},
                     .body = std::move(body)};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerReplyTest,
    ::testing::Values(
        ReplyCase{"answer_first",
                  Json(R"({"data":[{"value":{"answer":"A","desc":"D","list":[{"desc":"L"}]},)"
                       R"("guide":"G"}]})"),
                  "A"},
        ReplyCase{"desc_when_the_answer_is_empty",
                  Json(R"({"data":[{"value":{"answer":"","desc":"D","list":[{"desc":"L"}]},)"
                       R"("guide":"G"}]})"),
                  "D"},
        ReplyCase{"list_desc_when_no_answer_or_desc",
                  Json(R"({"data":[{"value":{"list":[{"desc":"L"}]},"guide":"G"}]})"), "L"},
        ReplyCase{"guide_last", Json(R"({"data":[{"value":{"desc":""},"guide":"G"}]})"), "G"},
        ReplyCase{"no_path_holds_text", Json(R"({"data":[{"value":{}}]})"), kFallback},
        ReplyCase{"utf8_answer_with_the_service_name",
                  Json("{\"data\":[{\"value\":{\"answer\":\"\xE4\xBD\xA0\xE5\xA5\xBD"
                       "\xE5\xA4\xB8\xE5\x85\x8B\"}}]}"),
                  "\xC4\xE3\xBA\xC3\xBF\xC9\xB0\xAE\xD0\xA1\xC2\xDC\xC0\xF2"},
        ReplyCase{"empty_body", TestReply{}, kFallback},
        ReplyCase{"not_json", TestReply{.body = "<html>busy</html>"}, kFallback},
        ReplyCase{"script_is_not_run", TestReply{.body = "({data:[{value:{answer:'ran'}}]})"},
                  kFallback},
        ReplyCase{"error_page", TestReply{.status = 502, .body = "<html>bad gateway</html>"},
                  kFallback}),
    [](const auto& row) { return std::string(row.param.name); });

struct UrlCase {
    const char* name;
    std::string question;
    std::string expectedTarget;
};

void PrintTo(const UrlCase& row, std::ostream* os) {
    *os << row.name;
}

class AnswerQueryTest : public AnswerServiceTest, public ::testing::WithParamInterface<UrlCase> {};

TEST_P(AnswerQueryTest, SendsOneGetWithTheQuestionEncoded) {
    LookupAnswer(GetParam().question);

    const std::vector<RecordedRequest> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, GetParam().expectedTarget);
}

INSTANTIATE_TEST_SUITE_P(Cases, AnswerQueryTest,
                         ::testing::Values(UrlCase{"every_byte_encoded", "a b",
                                                   kQueryPrefix + "%61%20%62&"},
                                           UrlCase{"empty_question", "", kQueryPrefix + "&"},
                                           UrlCase{"code_page_936_bytes", "\xC4\xE3\xBA\xC3",
                                                   kQueryPrefix + "%C4%E3%BA%C3&"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(AnswerServiceTest, TrailingSlashOfTheServiceAddressIsDropped) {
    setenv("TAVELO_ANSWER_URL", server_.Url("/").c_str(), 1);

    LookupAnswer("");

    const std::vector<RecordedRequest> requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, kQueryPrefix + "&");
}

TEST(AnswerLookupTest, NoServiceGivesTheFallback) {
    // Nothing listens on port 1 of the loopback address.
    setenv("TAVELO_ANSWER_URL", "https://127.0.0.1:1", 1);
    const Text answer = LookupAnswer("q");
    unsetenv("TAVELO_ANSWER_URL");

    EXPECT_EQ(answer, kFallback);
}

// The answer the local service gives to each question: the question's encoded form.
TestReply EchoQuestion(const RecordedRequest& request) {
    const std::string question = request.target.substr(kQueryPrefix.size());
    return Json(R"({"data":[{"value":{"answer":"to )" + question + R"("}}]})");
}

TEST_F(AnswerServiceTest, WorkerPublishesTheWholeReplyForTheReadingThread) {
    server_.SetHandler(EchoQuestion);
    auto slot = std::make_shared<AnswerSlot>();
    std::mutex mutex;
    std::condition_variable published;
    std::thread::id notifiedOn;
    slot->SetNotifier([&] {
        std::lock_guard lock(mutex);
        notifiedOn = std::this_thread::get_id();
        published.notify_all();
    });

    std::thread worker(AnswerWorker, slot, Text("a"));
    const std::thread::id workerId = worker.get_id();
    {
        std::unique_lock lock(mutex);
        EXPECT_TRUE(published.wait_for(lock, std::chrono::seconds(60),
                                       [&] { return notifiedOn != std::thread::id(); }));
    }
    worker.join();

    EXPECT_EQ(notifiedOn, workerId);
    EXPECT_EQ(slot->Take(), "to %61&");
}

TEST_F(AnswerServiceTest, OverlappingWorkersEachFillTheirOwnSlot) {
    server_.SetHandler(EchoQuestion);
    const std::vector<Text> questions = {"a", "b", "c", "d"};
    std::vector<std::shared_ptr<AnswerSlot>> slots;
    std::vector<std::thread> workers;
    for (const Text& question : questions) {
        slots.push_back(std::make_shared<AnswerSlot>());
        workers.emplace_back(AnswerWorker, slots.back(), question);
    }

    // Read while the workers write, as the user-interface thread polls.
    std::vector<std::optional<Text>> answers(questions.size());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (std::size_t done = 0;
         done < questions.size() && std::chrono::steady_clock::now() < deadline;) {
        done = 0;
        for (std::size_t i = 0; i < questions.size(); ++i) {
            if (!answers[i]) {
                answers[i] = slots[i]->Take();
            }
            done += answers[i].has_value() ? 1 : 0;
        }
        std::this_thread::yield();
    }
    for (std::thread& worker : workers) {
        worker.join();
    }

    EXPECT_EQ(answers[0], "to %61&");
    EXPECT_EQ(answers[1], "to %62&");
    EXPECT_EQ(answers[2], "to %63&");
    EXPECT_EQ(answers[3], "to %64&");
}

TEST_F(AnswerServiceTest, WorkerOutlivesTheSendThatStartedIt) {
    server_.SetReply(Json(R"({"data":[{"value":{"answer":"late"}}]})"));
    auto slot = std::make_shared<AnswerSlot>();
    const std::weak_ptr<AnswerSlot> watched = slot;

    // The sender lets go of its slot at once; the worker keeps it alive until it has
    // published.
    std::thread worker(AnswerWorker, std::move(slot), Text("q"));
    worker.join();

    EXPECT_TRUE(watched.expired());
}

}  // namespace
}  // namespace tavelo
