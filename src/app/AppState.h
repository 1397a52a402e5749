// The program's process-wide state: the three settings texts, the answer lock and the focus
// frames of the settings window. (The decoded shadow frames are the window decoration's, in
// decor/ShadowPicture.h.)
#pragma once

#include <array>
#include <memory>
#include <mutex>

#include <QPointer>

#include "text/Text.h"
#include "toolkit/ShapeBox.h"

namespace tavelo {

class MainWindow;

struct AppState {
    // "name1", "name2" and "name3" of chat.ini, read when the main window has been created
    // and replaced by the settings window. Empty until then.
    Text BotNickname;
    Text BotAvatarUrl;
    Text OwnAvatarUrl;

    // Held by the user-interface thread, and only there, around the wait for an answer; a
    // send nested inside that wait takes it again. Made once, when the main window has been
    // created, and never destroyed.
    std::unique_ptr<std::recursive_mutex> AnswerLock;

    // The focus frames of the settings window, made anew by each of its creations. A frame
    // destroyed with its window reads as null here, never as a dangling reference.
    std::array<QPointer<ShapeBox>, 5> FocusFrames;

    // The chat window, for the message flow, which shows bubbles and status in it.
    QPointer<MainWindow> mainWindow;
};

// The one instance; it lives as long as the process.
AppState& App();

// Puts every item into its starting state: empty texts and five empty frame references. An
// answer lock that exists is kept.
void CreateAppState();

// The exit routine's work: releases the texts, the focus frames and the decoded shadow
// frames. The answer lock stays.
void ReleaseAppState();

}  // namespace tavelo
