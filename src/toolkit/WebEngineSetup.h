// What has to be settled before the QApplication exists for windows and Qt WebEngine.
#pragma once

namespace tavelo {

// Runs on X11 (XWayland under a Wayland session) so that windows can be centred and placed,
// and switches Qt WebEngine's sandbox off when, and only when, the process runs as root
// (Chromium refuses to start a sandbox there). Call before constructing the QApplication.
void PrepareWebEngineEnvironment();

}  // namespace tavelo
