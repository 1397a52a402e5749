// Shows a second window modally and waits until it is gone.
#pragma once

#include <memory>

#include <QWidget>

namespace tavelo {

// Takes the window, shows it modal to the whole program, and runs its own event loop until
// the window has been destroyed (a close destroys it). The program's other windows take no
// input meanwhile. When the program is told to quit during the wait, the window is destroyed
// and the call returns.
void LoadModal(std::unique_ptr<QWidget> window);

}  // namespace tavelo
