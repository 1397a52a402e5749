#include "app/MessageFlow.h"

#include <mutex>
#include <optional>

#include "answer/TextCodecs.h"
#include "app/AnswerRequest.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/PacedWait.h"
#include "app/TypingPause.h"
#include "app/WakeableWait.h"
#include "page/ScriptLine.h"
#include "text/TextSearch.h"
#include "toolkit/ChatView.h"
#include "toolkit/GradientLabel.h"
#include "toolkit/KeyEditBox.h"
#include "toolkit/PendingEvents.h"
#include "toolkit/QtText.h"

namespace tavelo {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kBubbleLineBreak = "<br>";
constexpr std::string_view kOwnBubbleName = "default";
constexpr int kPauseBeforeTyping = 500;  // ms

const Text& DefaultBotNickname() {
    static const Text nickname = Utf8ToGbk("柠檬遇到糖");
    return nickname;
}

void PutDefaultIfEmpty(Text& text, std::string_view fallback) {
    if (text.empty()) {
        text = fallback;
    }
}

// The chat window while it is shown. A pause or wait handles window events, the window's
// close included, so a send asks again after each one and stops once this is null.
MainWindow* ShownChatWindow() {
    MainWindow* window = App().mainWindow;
    return window != nullptr && window->isVisible() ? window : nullptr;
}

void ShowBubble(std::string_view name, std::string_view message, std::string_view avatarUrl) {
    MainWindow* window = App().mainWindow;
    if (window == nullptr) {
        return;
    }
    const Text line = "javascript:" + BubbleScriptLine(name, message, avatarUrl) + ";goBottom();";
    window->chatView()->setAddress(ToQString(line));
}

}  // namespace

void SendChatMessage(Text& message, int side) {
    AppState& app = App();
    PutDefaultIfEmpty(app.BotNickname, DefaultBotNickname());
    if (message.starts_with(kLineBreak)) {
        message.erase(0, kLineBreak.size());
    }
    if (message.empty()) {
        return;
    }
    message = ReplaceAll(message, kLineBreak, kBubbleLineBreak);
    if (side == 1) {
        PutDefaultIfEmpty(app.BotAvatarUrl, kDefaultBotAvatarUrl);
        ShowBubble(app.BotNickname, message, app.BotAvatarUrl);
        SetChatStatus(false);
        return;
    }

    PutDefaultIfEmpty(app.OwnAvatarUrl, kDefaultOwnAvatarUrl);
    ShowBubble(kOwnBubbleName, message, app.OwnAvatarUrl);
    if (MainWindow* window = app.mainWindow) {
        window->inputBox()->setText("");
    }
    ProcessPendingEvents();
    PacedWait(kPauseBeforeTyping);
    if (!ShownChatWindow()) {
        return;
    }
    SetChatStatus(true);
    ProcessPendingEvents();
    PacedWait(DrawTypingPause());
    if (!ShownChatWindow()) {
        return;
    }
    // Each send has a slot of its own, so overlapping sends keep their answers apart. The
    // worker gets its own copy of the message as it now reads, "<br>" for each line break.
    auto slot = std::make_shared<AnswerSlot>();
    StartAnswerLookup(slot, message);
    ShowAnswerWhenItArrives(slot);
}

void SetChatStatus(bool typing) {
    MainWindow* window = App().mainWindow;
    if (window == nullptr) {
        return;
    }
    static const Text typingSuffix = Utf8ToGbk("(正在输入中…)");
    static const Text onlineSuffix = Utf8ToGbk("(在线)");
    window->titleLabel()->setText(
        ToQString(App().BotNickname + (typing ? typingSuffix : onlineSuffix)));
}

void ShowAnswerWhenItArrives(const std::shared_ptr<AnswerSlot>& slot) {
    // Taken again, without waiting, by a send nested in this wait.
    std::unique_lock<std::recursive_mutex> answerLock;
    if (App().AnswerLock) {
        answerLock = std::unique_lock(*App().AnswerLock);
    }
    WakeableWait wait;
    // The worker's publication wakes the wait at once; an answer that is already there is
    // found before the wait sleeps.
    slot->SetNotifier(wait.Waker());
    const bool arrived = wait.Run([&slot] { return slot->HasAnswer(); });
    slot->SetNotifier({});
    if (!arrived || !ShownChatWindow()) {
        return;  // the program is quitting, or the window has been closed
    }
    if (std::optional<Text> answer = slot->Take()) {
        SendChatMessage(*answer, 1);
    }
}

}  // namespace tavelo
