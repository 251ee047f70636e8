// The work of the extraction step.
#pragma once

// Checks the destination, removes an earlier game folder, creates and enters the game folder and writes
// the game's files into it. On success StepFailed is 0; on a failure the error window has been shown and
// the wizard is sent back to the location step.
void RunInstall();

// Writes the game's files into the current directory one by one, each checked by the count of bytes
// the file system accepted and by a clean close. Sets StepFailed to 1 at the first failure.
void ExtractPayload();
