// Process services for the headless backend: pauses are recorded, not slept, and the end of the process
// is thrown so the test can see it.
#include "platform/headless/headless_state.h"
#include "platform/system.h"

namespace plat {

void StartProcess() {}

void Pause(int ms) { headless::Record("pause " + std::to_string(ms)); }

void ExitProcess(int code) { throw headless::ProcessExit{code}; }

}  // namespace plat
