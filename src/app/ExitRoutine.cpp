#include "app/ExitRoutine.h"

#include <cstdio>
#include <cstdlib>

#include "app/AppState.h"

namespace tavelo {

namespace {

void RunExitRoutine() {
    ReleaseAppState();
}

}  // namespace

void RegisterExitRoutine() {
    static const bool registered = [] {
        std::atexit(RunExitRoutine);
        std::at_quick_exit(RunExitRoutine);
        return true;
    }();
    static_cast<void>(registered);
}

void EndProgram(int exitCode) {
    std::fflush(nullptr);
    std::quick_exit(exitCode);
}

}  // namespace tavelo
