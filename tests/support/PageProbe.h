// Probing a live web page in window tests: script results, conditions and mouse clicks, with
// the event loop running meanwhile. Every wait gives up after a generous safety timeout.
#pragma once

#include <QVariant>
#include <Qt>
#include <chrono>
#include <functional>
#include <optional>

class QString;
class QWebEnginePage;
class QWebEngineView;

namespace tavelo::test {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kPageTimeout = 60s;

// Processes events until `condition` holds; false when the timeout passes first.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kPageTimeout);

// Runs `script` in the page's main world and returns the value of its last expression;
// nothing when no result came back in time.
std::optional<QVariant> Evaluate(QWebEnginePage& page, const QString& script,
                                 std::chrono::milliseconds timeout = kPageTimeout);

// Evaluates `condition` in the page again and again until it is true.
bool WaitForScript(QWebEnginePage& page, const QString& condition,
                   std::chrono::milliseconds timeout = kPageTimeout);

// Clicks with `button` at the middle of the first element that matches the CSS `selector`,
// as the user would with the mouse, and returns once the page has seen the press; false when
// there is no such element or the page never sees a press. A page that has only just loaded
// may drop input while its renderer is still being wired up; the click is then repeated.
bool ClickElement(QWebEngineView& view, const QString& selector,
                  Qt::MouseButton button = Qt::LeftButton);

}  // namespace tavelo::test
