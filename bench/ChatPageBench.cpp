// What one more bubble costs in the chat page after 100, 1,000 and 10,000 bubbles, timed
// inside the page shown by the real chat view: the script line (AddMsg and goBottom) and the
// layout and scroll that it forces. Run on a display (xvfb-run on a machine without one).
//
// For comparison it measures the page with all bubbles in one flat list instead of groups,
// and with the list rewritten as HTML for every bubble (up to 1,000 bubbles: it is slow).
#include <QApplication>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "page/ChatPage.h"
#include "support/PageProbe.h"
#include "support/WebRequestBlocker.h"
#include "toolkit/ChatView.h"
#include "toolkit/WebEngineSetup.h"

namespace {

using tavelo::ChatView;

constexpr int kSamples = 60;

using tavelo::test::WebRequestBlocker;

using tavelo::test::Evaluate;
using tavelo::test::WaitUntil;

// Filling a page with thousands of bubbles takes a while on a busy machine.
constexpr std::chrono::milliseconds kPatience = std::chrono::minutes(10);

// Lets the page draw two frames, as it would between two bubbles of a conversation.
void WaitForFrames(QWebEnginePage& page) {
    Evaluate(page,
             "window.framed = false; requestAnimationFrame(function () {"
             " requestAnimationFrame(function () { framed = true; }); }); 1",
             kPatience);
    WaitUntil([&] { return Evaluate(page, "framed", kPatience).value_or(true).toBool(); },
              kPatience);
}

// A way of adding bubbles: script run before the page is filled, and after.
struct Variant {
    const char* name;
    const char* beforeFill;
    const char* afterFill;
    int maxCount;
};

const Variant kVariants[] = {
    {"chat page", "1", "1", 10000},
    // Every bubble straight into the list, without the groups.
    {"one flat list",
     "AddMsg = function (user, content, IMG) {"
     " document.getElementById('msgs').appendChild(CreadMsg(user, content, IMG)); }; 1",
     "1", 10000},
    // The whole list rewritten as HTML for every bubble; filled the quick way first.
    {"list rewritten as HTML", "1",
     "AddMsg = function (user, content, IMG) {"
     " var list = document.getElementById('msgs');"
     " var holder = document.createElement('div');"
     " holder.appendChild(CreadMsg(user, content, IMG));"
     " list.innerHTML = list.innerHTML + holder.innerHTML; }; 1",
     1000},
};

// A bubble of the conversation: both sides, one to three lines.
QString Bubble(int i) {
    const bool own = i % 2 == 0;
    QString text = QString("message %1 with a few words in it").arg(i);
    for (int line = 0; line < i % 3; ++line) {
        text += "<br>and one more line of text";
    }
    return QString("AddMsg('%1', '%2', 'http://127.0.0.1:9/%3.png')")
        .arg(own ? "default" : "bot", text, own ? "me" : "bot");
}

// Milliseconds that each of kSamples more bubbles took, after `count` bubbles.
std::vector<double> Measure(const QString& pagePath, const Variant& variant, int count) {
    ChatView view;
    view.resize(568, 300);
    view.show();
    view.setAddress(pagePath);
    WaitUntil(
        [&] {
            return Evaluate(*view.page(), "typeof AddMsg == 'function'", kPatience)
                .value_or(false)
                .toBool();
        },
        kPatience);
    Evaluate(*view.page(), variant.beforeFill, kPatience);
    constexpr int kBatch = 50;
    for (int done = 0; done < count;) {
        QString batch;
        for (int i = 0; i < kBatch && done < count; ++i, ++done) {
            batch += Bubble(done) + ";";
        }
        Evaluate(*view.page(), batch + "goBottom(); 1", kPatience);
        WaitForFrames(*view.page());
    }

    Evaluate(*view.page(), variant.afterFill, kPatience);
    WaitForFrames(*view.page());
    Evaluate(*view.page(), "window.costs = []; 1", kPatience);
    for (int i = 0; i < kSamples; ++i) {
        // The line as the program sends it, with the timing around it.
        view.setAddress("javascript:var t0 = performance.now();" + Bubble(count + i) +
                        ";;goBottom();"
                        "document.getElementById('show').scrollTop;"
                        "document.getElementById('msgs').lastElementChild.offsetHeight;"
                        "costs.push(performance.now() - t0);");
        WaitForFrames(*view.page());
    }
    std::vector<double> costs;
    for (const QVariant& cost :
         Evaluate(*view.page(), "costs", kPatience).value_or(QVariant()).toList()) {
        costs.push_back(cost.toDouble());
    }
    return costs;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    tavelo::PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    WebRequestBlocker blocker;
    QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(&blocker);

    QTemporaryDir dir;
    const QString pagePath = dir.filePath("ct7.html");
    std::ofstream(pagePath.toStdString(), std::ios::binary) << tavelo::ChatPageBytes();

    std::printf("One more bubble (AddMsg + goBottom + layout), median of %d, in ms\n", kSamples);
    std::printf("%-24s %10s %10s %10s\n", "page", "100", "1,000", "10,000");
    for (const Variant& variant : kVariants) {
        std::vector<double> medians;
        for (int count : {100, 1000, 10000}) {
            if (count > variant.maxCount) {
                break;
            }
            medians.push_back(Median(Measure(pagePath, variant, count)));
        }
        std::printf("%-24s", variant.name);
        for (double median : medians) {
            std::printf(" %10.3f", median);
        }
        if (medians.size() == 3) {
            std::printf("   10,000 / 100 = %.2f", medians[2] / medians[0]);
        } else if (medians.size() == 2) {
            std::printf(" %10s   1,000 / 100 = %.2f", "-", medians[1] / medians[0]);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("Target: the chat page's cost at 10,000 at most 1.5 times its cost at 100.\n");
    return 0;
}
