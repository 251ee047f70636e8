// The window that tells the user an installation failed, in place of the extraction screen.
#pragma once

// Shows ErrorText, waits for OK and sends the wizard back to step 2. Does not return when the user
// closes the window instead: the program ends.
void ShowStepError();

// Opens the error window in StepWindow with its pictures, ErrorText and OK. Returns false when the window
// cannot be opened.
bool BuildErrorWindow();

// Waits until OK is pressed; a close request ends the program.
void WaitForErrorOk();
