// The program's message box.
#pragma once

#include <string_view>

namespace tavelo {

// Shows `text` (code page 936) under `title` with an OK button only and no icon, modal to
// the whole program and owned by no window, and returns when the user has closed it.
void ShowMessageBox(std::string_view text, std::string_view title);

}  // namespace tavelo
