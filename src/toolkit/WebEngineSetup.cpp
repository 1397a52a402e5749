#include "toolkit/WebEngineSetup.h"

#include <unistd.h>

#include <QByteArray>
#include <QtGlobal>

namespace tavelo {

void PrepareWebEngineEnvironment() {
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
}

}  // namespace tavelo
