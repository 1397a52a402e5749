#include "support/PageProbe.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QString>
#include <QTest>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

namespace tavelo::test {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    QDeadlineTimer deadline(timeout);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

std::optional<QVariant> Evaluate(QWebEnginePage& page, const QString& script,
                                 std::chrono::milliseconds timeout) {
    // The callback may come after a timeout, so it writes into shared state, not the stack.
    auto result = std::make_shared<std::optional<QVariant>>();
    page.runJavaScript(script, [result](const QVariant& value) { *result = value; });
    if (!WaitUntil([&] { return result->has_value(); }, timeout)) {
        return std::nullopt;
    }
    return **result;
}

bool WaitForScript(QWebEnginePage& page, const QString& condition,
                   std::chrono::milliseconds timeout) {
    QDeadlineTimer deadline(timeout);
    return WaitUntil(
        [&] {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline.remainingTimeAsDuration());
            auto value = Evaluate(page, condition, left);
            return value && value->toBool();
        },
        timeout);
}

bool ClickElement(QWebEngineView& view, const QString& selector, Qt::MouseButton button) {
    using namespace std::chrono_literals;
    const QString quoted =
        QString::fromUtf8(QJsonDocument(QJsonArray{selector}).toJson(QJsonDocument::Compact));
    // Finds the element's middle and counts the presses the page sees, from a listener that
    // runs before the page's own.
    const QString locate = QStringLiteral(R"(
        (function () {
            if (window.tavelo_probePresses === undefined) {
                window.tavelo_probePresses = 0;
                document.addEventListener('mousedown', function () {
                    window.tavelo_probePresses++;
                }, true);
            }
            var element = document.querySelector(%1[0]);
            if (!element) return null;
            element.scrollIntoView({block: 'nearest'});
            var box = element.getBoundingClientRect();
            return [Math.round(box.left + box.width / 2), Math.round(box.top + box.height / 2),
                    window.tavelo_probePresses];
        })())")
                               .arg(quoted);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const auto place = Evaluate(*view.page(), locate);
        if (!place || place->toList().size() != 3 || !view.focusProxy()) {
            return false;
        }
        const QVariantList xyn = place->toList();
        // The page is shown by the view's focus proxy, which takes the mouse events.
        QTest::mouseClick(view.focusProxy(), button, {}, QPoint(xyn[0].toInt(), xyn[1].toInt()));
        if (WaitForScript(*view.page(),
                          QStringLiteral("window.tavelo_probePresses > %1").arg(xyn[2].toInt()),
                          5s)) {
            return true;
        }
    }
    return false;
}

}  // namespace tavelo::test
