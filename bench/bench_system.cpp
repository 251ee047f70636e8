// The process services of the Windows benchmarks: the product's own (platform/win32/system_win32.cpp)
// except that a pause is counted and not slept. The start-up hardening is left out: the benchmark loads
// nothing from its folder.
#include <windows.h>

#include "bench/bench_pauses.h"
#include "platform/system.h"

namespace {

int pauses = 0;
int paused_ms = 0;

}  // namespace

int PausesTaken() { return pauses; }
int PausedMs() { return paused_ms; }
void ForgetPauses() {
    pauses = 0;
    paused_ms = 0;
}

namespace plat {

void StartProcess() {}

void Pause(int ms) {
    ++pauses;
    paused_ms += ms;
}

void ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

}  // namespace plat
