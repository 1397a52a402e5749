#include "app/MessageFlow.h"

#include "answer/TextCodecs.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "page/ScriptLine.h"
#include "text/MultiReplace.h"
#include "toolkit/ChatView.h"
#include "toolkit/GradientLabel.h"
#include "toolkit/KeyEditBox.h"
#include "toolkit/QtText.h"

namespace tavelo {

namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kBubbleLineBreak = "<br>";
constexpr std::string_view kOwnBubbleName = "default";

const Text& DefaultBotNickname() {
    static const Text nickname = Utf8ToGbk("柠檬遇到糖");
    return nickname;
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
    if (app.BotNickname.empty()) {
        app.BotNickname = DefaultBotNickname();
    }
    if (message.starts_with(kLineBreak)) {
        message.erase(0, kLineBreak.size());
    }
    if (message.empty()) {
        return;
    }
    message = MultiReplace(message, {{kLineBreak, kBubbleLineBreak}}, {.matchCase = true});
    if (side == 1) {
        ShowBubble(app.BotNickname, message, app.BotAvatarUrl);
        SetChatStatus(false);
        return;
    }
    ShowBubble(kOwnBubbleName, message, app.OwnAvatarUrl);
    if (MainWindow* window = app.mainWindow) {
        window->inputBox()->setText("");
    }
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

}  // namespace tavelo
