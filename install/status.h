// The status line of the extraction screen, as the installation writes it.
#pragma once

// Every status text stays on screen at least this long.
constexpr int kStatusPauseMs = 10;

// Replaces the status line's text, then pauses so the user can see it.
void ShowStatus(const char* text);
