// How the program ends: the exit routine that releases the process-wide state, and an
// immediate end for the close button.
#pragma once

namespace tavelo {

// Makes ReleaseAppState run when the process ends, by a return from main, by std::exit or by
// EndProgram. Registering more than once registers once.
void RegisterExitRoutine();

// Ends the process at once with `exitCode`, wherever it is called from (also from inside a
// nested wait): output is flushed and the exit routine runs, but no further event is handled
// and no static object is destroyed, so nothing runs against a toolkit that is still up.
[[noreturn]] void EndProgram(int exitCode);

}  // namespace tavelo
