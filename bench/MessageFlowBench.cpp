// Two latencies of the message flow in the real chat window, printed as figures:
//  - from the moment a worker publishes an answer in its slot to the moment the bot's bubble
//    is in the page (the page stamps the bubble's arrival on its own clock, which is
//    matched to ours beforehand);
//  - how long the window takes to handle a key press that arrives from outside while a send
//    waits for its answer (posted from another thread, as input from the display is).
// Run on a display (xvfb-run on a machine without one). The answer service is a local stand-in.
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "answer/AnswerSlot.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/MessageFlow.h"
#include "platform/FileSystem.h"
#include "support/Gate.h"
#include "support/HttpsTestServer.h"
#include "support/PageProbe.h"
#include "support/WebRequestBlocker.h"
#include "toolkit/ChatView.h"
#include "toolkit/KeyEditBox.h"
#include "toolkit/WebEngineSetup.h"

namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

constexpr int kSamples = 40;

using tavelo::test::Evaluate;
using tavelo::test::WaitUntil;

double SteadyMs() {
    return std::chrono::duration<double, std::milli>(SteadyClock::now().time_since_epoch()).count();
}

// How far the page's clock (performance.timeOrigin + performance.now()) is ahead of
// SteadyMs(), found as a network time client does: the page's reading is taken to lie
// halfway through the round trip that asked for it, and the shortest round trip wins.
double PageClockOffset(QWebEnginePage& page) {
    double best = 0;
    double bestTrip = 1e9;
    for (int i = 0; i < 30; ++i) {
        const double asked = SteadyMs();
        const double reading =
            Evaluate(page, "performance.timeOrigin + performance.now()").value_or(0).toDouble();
        const double answered = SteadyMs();
        if (answered - asked < bestTrip) {
            bestTrip = answered - asked;
            best = reading - (asked + answered) / 2;
        }
    }
    return best;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Print(const char* what, const std::vector<double>& ms) {
    if (ms.empty()) {
        std::printf("%-52s no samples\n", what);
        return;
    }
    std::printf("%-52s median %7.2f ms  min %7.2f  max %7.2f  (%zu samples)\n", what, Median(ms),
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()),
                ms.size());
}

// From publication to bubble: the worker's part is played by a thread that publishes a
// ready answer a moment after the window has started waiting for it.
std::vector<double> AnswerToBubble(tavelo::MainWindow& window) {
    QWebEnginePage& page = *window.chatView()->page();
    Evaluate(page, R"(
        window.bubbleStamps = [];
        new MutationObserver(function (changes) {
            var now = performance.timeOrigin + performance.now();
            changes.forEach(function (change) {
                change.addedNodes.forEach(function (node) {
                    if (node.classList && node.classList.contains('msg')) bubbleStamps.push(now);
                });
            });
        }).observe(document.getElementById('msgs'), {childList: true, subtree: true});
        1)");
    const double offset = PageClockOffset(page);
    std::vector<double> published;
    for (int i = 0; i < kSamples; ++i) {
        auto slot = std::make_shared<tavelo::AnswerSlot>();
        double stamp = 0;
        std::thread worker([&slot, &stamp, i] {
            std::this_thread::sleep_for(30ms);
            stamp = SteadyMs();
            slot->Publish("answer " + std::to_string(i));
        });
        tavelo::ShowAnswerWhenItArrives(slot);
        worker.join();
        published.push_back(stamp);
        WaitUntil([&] { return Evaluate(page, "bubbleStamps.length").value_or(0).toInt() > i; });
    }
    const QVariantList shown = Evaluate(page, "bubbleStamps").value_or(QVariant()).toList();
    std::vector<double> ms;
    for (int i = 0; i < kSamples && i < shown.size(); ++i) {
        ms.push_back(shown[i].toDouble() - offset - published[i]);
    }
    return ms;
}

// Key presses posted from another thread while a send waits for an answer that the service
// holds back until they have all been handled.
std::vector<double> InputWhileWaiting(tavelo::MainWindow& window,
                                      tavelo::test::HttpsTestServer& server) {
    auto gate = std::make_shared<tavelo::test::Gate>();
    server.SetHandler([gate](const tavelo::test::RecordedRequest&) {
        gate->Wait();
        return tavelo::test::TestReply{.body = R"({"data":[{"value":{"answer":"ok"}}]})"};
    });

    std::mutex mutex;
    std::vector<SteadyClock::time_point> posted(kSamples);
    std::vector<double> ms;
    std::atomic<int> handled = 0;
    tavelo::KeyEditBox* box = window.inputBox();
    QObject::connect(box, &tavelo::KeyEditBox::keyPressed, box, [&](int keyCode, int) {
        if (keyCode != Qt::Key_X && keyCode != 'X') {
            return;
        }
        const auto now = SteadyClock::now();
        std::lock_guard lock(mutex);
        const int i = handled;
        if (i < kSamples) {
            ms.push_back(std::chrono::duration<double, std::milli>(now - posted[i]).count());
        }
        ++handled;
    });

    std::thread typist([&] {
        server.WaitForRequests(1, 2min);
        std::mt19937 random(7);
        std::uniform_int_distribution<int> pause(15, 40);
        for (int i = 0; i < kSamples; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
            {
                std::lock_guard lock(mutex);
                posted[i] = SteadyClock::now();
            }
            QCoreApplication::postEvent(
                box, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
            // One key at a time, so each is timed from its own post.
            while (handled <= i) {
                std::this_thread::sleep_for(1ms);
            }
        }
        gate->Open();
    });

    tavelo::Text message = "hello";
    tavelo::SendChatMessage(message);  // returns once the held answer has been shown
    typist.join();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    tavelo::PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    tavelo::OverrideRunDirectory(dir.path().toStdString());
    tavelo::test::WebRequestBlocker blocker;
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&blocker);

    tavelo::test::HttpsTestServer server(tavelo::test::HttpsTestServer::Mode::kPlainHttp);
    qputenv("TAVELO_ANSWER_URL", QByteArray::fromStdString(server.Url()));

    tavelo::CreateAppState();
    auto window = std::make_unique<tavelo::MainWindow>();
    window->show();
    QWebEnginePage& page = *window->chatView()->page();
    if (!WaitUntil([&] {
            return Evaluate(page, "typeof AddMsg === 'function'").value_or(false).toBool();
        })) {
        std::fprintf(stderr, "the chat page did not load\n");
        return 1;
    }

    std::printf("Message flow in the real chat window (target: both medians under 20 ms)\n");
    Print("answer published -> bot's bubble in the page", AnswerToBubble(*window));
    Print("key press -> handled, while a send waits", InputWhileWaiting(*window, server));
    window.reset();
    tavelo::OverrideRunDirectory("");
    return 0;
}
