#include "app/AppState.h"

#include <utility>

#include "decor/ShadowPicture.h"

namespace tavelo {

AppState& App() {
    // Never destroyed, so that nothing here outlives the toolkit it refers to at exit, and the
    // answer lock is never destroyed while held.
    static AppState* const state = new AppState;
    return *state;
}

void CreateAppState() {
    AppState& state = App();
    auto lock = std::move(state.AnswerLock);
    state = AppState{};
    state.AnswerLock = std::move(lock);
}

void ReleaseAppState() {
    AppState& state = App();
    state.BotNickname = Text();
    state.BotAvatarUrl = Text();
    state.OwnAvatarUrl = Text();
    state.FocusFrames = {};
    ShadowFrames().frame5.Release();
    ShadowFrames().frame10.Release();
}

}  // namespace tavelo
