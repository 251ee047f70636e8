// The windowing half of our platform layer: numbered windows, numbered controls, events, the default
// control font and decoded pictures. The core sees only numbers and 8-bit (UTF-8) strings; each backend
// (win32/, headless/) keeps its own handles behind them. The backend is chosen at link time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

// Event codes as the event wait returns them.
constexpr int kEventNone = 0;
constexpr int kEventClose = 16;
constexpr int kEventControl = 13100;

// Which colour of a control SetControlColour sets.
constexpr int kTextColour = 1;
constexpr int kBackgroundColour = 2;

// Starts the window system side: registers window classes, common controls. Returns false on failure.
bool StartGui();

// Closes every window and releases images, fonts and everything else the GUI side holds.
void StopGui();

// Opens a top-level window in `slot`: title bar with caption, system menu and close box, no minimise or
// maximise box, fixed size, client area `width` x `height`, centred on the screen and shown at once.
// A window standing in the slot is closed first. Returns false (and leaves the slot empty) when the
// window cannot be opened. Controls created afterwards go into this window.
bool OpenWindow(int slot, const std::string& caption, int width, int height);

// Closes the window in `slot` with all its controls; an empty slot is left alone.
void CloseWindow(int slot);

bool WindowExists(int slot);

// Paints the client ground of the window in `slot`.
void SetWindowGround(int slot, Rgb colour);

// Control creation. Each control gets `number` as its identity within the current window; positions are
// relative to the client area, or to the inner area of the scroll container that is open. Results are
// not reported: the core never tests a single control's creation.
void CreateImageControl(int number, int x, int y, int width, int height, int image);
void CreateLabel(int number, int x, int y, int width, int height, const std::string& text);
void CreateButton(int number, int x, int y, int width, int height, const std::string& caption);
void CreateTextField(int number, int x, int y, int width, int height, const std::string& text);
void CreateProgressBar(int number, int x, int y, int width, int height, int low, int high);
// A details view of `folder`'s contents that keeps itself up to date.
void CreateFolderList(int number, int x, int y, int width, int height, const std::string& folder);

// A bordered view onto an inner area of `inner_width` x `inner_height`; controls created until
// CloseScrollContainer are placed inside the inner area. `step` is the pixels one arrow click, arrow key or
// wheel notch scrolls.
void OpenScrollContainer(int number, int x, int y, int width, int height, int inner_width,
                         int inner_height, int step);
void CloseScrollContainer();

// Operations on a control of the current window, by number; an unknown number is ignored.
void SetControlColour(int number, int which, Rgb colour);
void SetControlText(int number, const std::string& text);
std::string GetControlText(int number);
void EnableControl(int number, bool enabled);
void ShowControl(int number, bool visible);
void SetProgressValue(int number, int value);

// Handles the window system's messages for at most `timeout_ms` and returns the first event: kEventClose,
// kEventControl, another non-zero code for other activity, or kEventNone when nothing happened in time.
int WaitForEvent(int timeout_ms);

// The number of the control that raised the last kEventControl.
int LastEventControl();

// Decodes a JPEG picture from memory into image slot `slot`. Returns false when it cannot be decoded.
bool DecodeImage(int slot, const unsigned char* data, std::size_t size);
int ImageWidth(int slot);
int ImageHeight(int slot);

// Makes the font `face` at `points` the default of every control created afterwards. Returns false when
// the font cannot be made; controls then keep the system's default control font.
bool SetDefaultFont(const std::string& face, int points);

}  // namespace plat
