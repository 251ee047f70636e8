// The headless backend: an in-memory window system for the host tests. Every window and control the
// core creates is kept with its kind, number, geometry, text, colours and state, in creation order; the
// user and the platform dialogs are scripted; pauses are recorded instead of slept; and the end of the
// process is thrown as ProcessExit instead of performed. Tests select it by linking it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui.h"

namespace headless {

enum class Kind { Image, Label, Button, TextField, ProgressBar, FolderList, ScrollContainer };

struct Control {
    Kind kind;
    int number;
    int container;  // number of the scroll container holding it, -1 for the window itself
    int x, y, width, height;
    std::string text;  // caption, label text, field text, or the folder a folder list shows
    int image;         // image slot of an image control
    std::optional<plat::Rgb> text_colour;
    std::optional<plat::Rgb> background;
    bool enabled;
    bool visible;
    int low, high, value;                // progress bar
    int inner_width, inner_height, step;  // scroll container
    std::string font;                    // "" for the system's default control font
};

struct Window {
    int slot;
    std::string caption;
    int width, height;
    std::optional<plat::Rgb> ground;
    std::vector<Control> controls;  // in creation order
    int serial;                     // 1 for the first window opened since Reset, 2 for the next, ...
};

// What the scripted user does at one event wait.
struct UserAction {
    std::function<int()> perform;  // returns the event code the wait reports
};

UserAction Click(int number);                          // a click; a disabled or hidden control raises nothing
UserAction Type(int number, const std::string& text);  // replaces a text field's text
UserAction CloseRequest();
UserAction Idle();                                   // nothing happens within the timeout
UserAction RawEvent(int code, int control_number = 0);  // any event code, as the platform might raise it
UserAction Check(std::function<void()> check);         // runs `check` at this point, nothing happens

// Appends actions to the script; each event wait takes the next one.
void Script(std::vector<UserAction> actions);

// Thrown by an event wait when the script has run out: a journey that did not end as the test expected.
struct ScriptExhausted {};

// Thrown by plat::ExitProcess.
struct ProcessExit {
    int code;
};

// The folder chooser's answer, given its prompt and start folder; answers are taken in order.
using ChooserAnswer = std::function<std::string(const std::string& prompt, const std::string& start)>;
void AnswerChooser(ChooserAnswer answer);

struct MessageBoxRecord {
    std::string title;
    std::string text;
};
// Called while a message box is shown, before the user's OK.
void OnMessageBox(std::function<void()> check);
const std::vector<MessageBoxRecord>& MessageBoxes();

// After `after` more successful window openings, the next `count` openings fail.
void FailWindowOpens(int count, int after = 0);
// Whether the default font can be made.
void FailFont(bool fail);

// The window standing in `slot`, or nullptr.
const Window* WindowIn(int slot);
// A control of the current window, or nullptr.
const Control* FindControl(int number);
int WindowsOpened();

// What the core did to the screen, in order: "open <caption>", "close", "text <n> <text>",
// "progress <n> <value>", "show <n> <0|1>", "enable <n> <0|1>", "list <n> <folder>", "pause <ms>",
// "chooser <prompt>|<start>", "message <title>".
const std::vector<std::string>& Timeline();

// Forgets every window, control, image, script entry and record.
void Reset();

}  // namespace headless
