// Process-level services of our platform layer: start-up hardening, pauses and the process's end.
#pragma once

namespace plat {

// The first call of the entry point: restricts where the process may load libraries from and settles
// process-wide settings before any window exists.
void StartProcess();

// Sleeps the calling thread for `ms` milliseconds without handling window messages.
void Pause(int ms);

// Ends the process with `code`. Does not return.
[[noreturn]] void ExitProcess(int code);

}  // namespace plat
