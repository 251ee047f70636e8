// The installer's line of control: start-up, the wizard's step machine, shutdown.
#pragma once

// Starts the platform and the shared values, loads the pictures and the font, reads the default
// destination.
void StartUp();

// Runs one pass per step until the wizard ends.
void RunWizard();

// Closes everything and ends the process with exit code 0.
[[noreturn]] void ShutDown();

// How often in a row a screen whose window cannot be opened is tried before the program gives up, and
// the pause between tries.
constexpr int kWindowOpenAttempts = 20;
constexpr int kWindowRetryPauseMs = 50;
