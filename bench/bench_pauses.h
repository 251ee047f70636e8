// The pauses the core asked for, counted instead of slept, so that a benchmark sees the installation's
// own work apart from them.
#pragma once

int PausesTaken();
int PausedMs();
void ForgetPauses();
