// Tavelo: one window in which the user chats with a bot.
#include <QApplication>

#include "app/AppState.h"
#include "app/ExitRoutine.h"
#include "app/MainWindow.h"
#include "decor/WindowShadow.h"
#include "toolkit/WebEngineSetup.h"

int main(int argc, char** argv) {
    tavelo::PrepareWebEngineEnvironment();
    {
        QApplication app(argc, argv);
        tavelo::CreateAppState();
        tavelo::RegisterExitRoutine();
        tavelo::StartGdiPlus();
        auto* window = new tavelo::MainWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        // The loop ends when the last window has gone: Esc or any other close of the main
        // window.
        QApplication::exec();
    }
    // A worker may still be asking the answer service; nobody waits for it. Ending here, the
    // process does not tear down the libraries it is using under it.
    tavelo::EndProgram(0);
}
