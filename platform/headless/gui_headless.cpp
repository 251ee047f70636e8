// The headless window system: see headless.h.
#include <deque>
#include <map>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/jpeg_decode.h"

namespace headless {

State& TheState() {
    static State state;
    return state;
}

void Record(const std::string& entry) { TheState().timeline.push_back(entry); }

namespace {

Window* CurrentWindow() {
    State& s = TheState();
    auto found = s.windows.find(s.current_slot);
    return found == s.windows.end() ? nullptr : &found->second;
}

Control* FindMutable(int number) {
    Window* window = CurrentWindow();
    if (window == nullptr) return nullptr;
    for (Control& control : window->controls) {
        if (control.number == number) return &control;
    }
    return nullptr;
}

void AddControl(Kind kind, int number, int x, int y, int width, int height, const std::string& text) {
    Window* window = CurrentWindow();
    if (window == nullptr) return;
    Control control{};
    control.kind = kind;
    control.number = number;
    control.container = TheState().open_container;
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    control.text = text;
    control.image = -1;
    control.enabled = true;
    control.visible = true;
    control.font = TheState().font;
    window->controls.push_back(control);
}

}  // namespace

const Window* WindowIn(int slot) {
    auto found = TheState().windows.find(slot);
    return found == TheState().windows.end() ? nullptr : &found->second;
}

const Control* FindControl(int number) { return FindMutable(number); }

int WindowsOpened() { return TheState().windows_opened; }

const std::vector<std::string>& Timeline() { return TheState().timeline; }

void FailWindowOpens(int count, int after) {
    TheState().failing_opens = count;
    TheState().opens_before_failing = after;
}

void FailFont(bool fail) { TheState().font_fails = fail; }

void Script(std::vector<UserAction> actions) {
    for (UserAction& action : actions) TheState().script.push_back(std::move(action));
}

UserAction Click(int number) {
    return {[number] {
        const Control* control = FindControl(number);
        if (control == nullptr || !control->enabled || !control->visible) return plat::kEventNone;
        TheState().last_control = number;
        return plat::kEventControl;
    }};
}

UserAction Type(int number, const std::string& text) {
    return {[number, text] {
        Control* control = FindMutable(number);
        if (control != nullptr && control->kind == Kind::TextField && control->enabled) control->text = text;
        return plat::kEventNone;
    }};
}

UserAction CloseRequest() {
    return {[] { return plat::kEventClose; }};
}

UserAction Idle() {
    return {[] { return plat::kEventNone; }};
}

UserAction RawEvent(int code, int control_number) {
    return {[code, control_number] {
        TheState().last_control = control_number;
        return code;
    }};
}

UserAction Check(std::function<void()> check) {
    return {[check] {
        check();
        return plat::kEventNone;
    }};
}

void Reset() { TheState() = State{}; }

}  // namespace headless

namespace plat {

using headless::Kind;
using headless::Record;
using headless::TheState;

bool StartGui() { return true; }

void StopGui() {
    TheState().windows.clear();
    Record("stop");
}

bool OpenWindow(int slot, const std::string& caption, int width, int height) {
    headless::State& s = TheState();
    CloseWindow(slot);
    if (s.opens_before_failing > 0) {
        --s.opens_before_failing;
    } else if (s.failing_opens > 0) {
        --s.failing_opens;
        Record("open-failed " + caption);
        return false;
    }
    headless::Window window{};
    window.slot = slot;
    window.caption = caption;
    window.width = width;
    window.height = height;
    window.serial = ++s.windows_opened;
    s.windows[slot] = window;
    s.current_slot = slot;
    s.open_container = -1;
    Record("open " + caption);
    return true;
}

void CloseWindow(int slot) {
    if (TheState().windows.erase(slot) > 0) Record("close");
}

bool WindowExists(int slot) { return TheState().windows.count(slot) > 0; }

void SetWindowGround(int slot, Rgb colour) {
    auto found = TheState().windows.find(slot);
    if (found != TheState().windows.end()) found->second.ground = colour;
}

void CreateImageControl(int number, int x, int y, int width, int height, int image) {
    headless::AddControl(Kind::Image, number, x, y, width, height, "");
    if (headless::Control* control = headless::FindMutable(number)) control->image = image;
}

void CreateLabel(int number, int x, int y, int width, int height, const std::string& text) {
    headless::AddControl(Kind::Label, number, x, y, width, height, text);
}

void CreateButton(int number, int x, int y, int width, int height, const std::string& caption) {
    headless::AddControl(Kind::Button, number, x, y, width, height, caption);
}

void CreateTextField(int number, int x, int y, int width, int height, const std::string& text) {
    headless::AddControl(Kind::TextField, number, x, y, width, height, text);
}

void CreateProgressBar(int number, int x, int y, int width, int height, int low, int high) {
    headless::AddControl(Kind::ProgressBar, number, x, y, width, height, "");
    if (headless::Control* control = headless::FindMutable(number)) {
        control->low = low;
        control->high = high;
        control->value = low;
    }
}

void CreateFolderList(int number, int x, int y, int width, int height, const std::string& folder) {
    headless::AddControl(Kind::FolderList, number, x, y, width, height, folder);
    Record("list " + std::to_string(number) + " " + folder);
}

void OpenScrollContainer(int number, int x, int y, int width, int height, int inner_width,
                         int inner_height, int step) {
    headless::AddControl(Kind::ScrollContainer, number, x, y, width, height, "");
    if (headless::Control* control = headless::FindMutable(number)) {
        control->inner_width = inner_width;
        control->inner_height = inner_height;
        control->step = step;
    }
    TheState().open_container = number;
}

void CloseScrollContainer() { TheState().open_container = -1; }

void SetControlColour(int number, int which, Rgb colour) {
    headless::Control* control = headless::FindMutable(number);
    if (control == nullptr) return;
    if (which == kTextColour) control->text_colour = colour;
    if (which == kBackgroundColour) control->background = colour;
}

void SetControlText(int number, const std::string& text) {
    headless::Control* control = headless::FindMutable(number);
    if (control == nullptr) return;
    control->text = text;
    Record("text " + std::to_string(number) + " " + text);
}

std::string GetControlText(int number) {
    const headless::Control* control = headless::FindControl(number);
    return control == nullptr ? std::string() : control->text;
}

void EnableControl(int number, bool enabled) {
    headless::Control* control = headless::FindMutable(number);
    if (control == nullptr) return;
    control->enabled = enabled;
    Record("enable " + std::to_string(number) + (enabled ? " 1" : " 0"));
}

void ShowControl(int number, bool visible) {
    headless::Control* control = headless::FindMutable(number);
    if (control == nullptr) return;
    control->visible = visible;
    Record("show " + std::to_string(number) + (visible ? " 1" : " 0"));
}

void SetProgressValue(int number, int value) {
    headless::Control* control = headless::FindMutable(number);
    if (control == nullptr) return;
    control->value = value;
    Record("progress " + std::to_string(number) + " " + std::to_string(value));
}

int WaitForEvent(int) {
    headless::State& s = TheState();
    if (s.script.empty()) throw headless::ScriptExhausted{};
    headless::UserAction action = std::move(s.script.front());
    s.script.pop_front();
    return action.perform();
}

int LastEventControl() { return TheState().last_control; }

bool DecodeImage(int slot, const unsigned char* data, std::size_t size) {
    DecodedImage image;
    if (!DecodeJpeg(data, size, &image)) return false;
    TheState().images[slot] = {image.width, image.height};
    return true;
}

int ImageWidth(int slot) {
    auto found = TheState().images.find(slot);
    return found == TheState().images.end() ? 0 : found->second.first;
}

int ImageHeight(int slot) {
    auto found = TheState().images.find(slot);
    return found == TheState().images.end() ? 0 : found->second.second;
}

bool SetDefaultFont(const std::string& face, int points) {
    if (TheState().font_fails) return false;
    TheState().font = face + " " + std::to_string(points);
    return true;
}

}  // namespace plat
