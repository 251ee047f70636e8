// Runs the installer in-process on the headless window system, with a scripted user.
#pragma once

#include <string>

#include "platform/headless/headless.h"

// Clears the window system and the installer's shared values.
void ResetInstaller();

// Runs the program from start-up to its end and returns its exit code. Fails the test when the script
// runs out before the program ends.
int RunInstaller();

// Journeys that reach a given screen from start-up.
headless::UserAction Agree();

// The text of a control of the current window ("" when missing).
std::string TextOf(int number);

// A string made of `count` copies of `c`.
std::string Repeat(char c, std::size_t count);
