// kwdriver: the automation end of the end-to-end tests. It runs under wine64 beside the installer, reads
// one command per line on stdin and answers each with one line of JSON on stdout, so a single driver
// process can serve a whole test. Everything a test learns about the installer's windows comes from the
// window system itself (captions, child-window IDs, standard control messages), never from the program.
//
// Texts in commands are the rest of the line, with \n, \r, \t and \\ escapes; texts in answers are JSON
// strings. Every wait is a bounded poll: the command names its timeout in milliseconds.

#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 20;
// Cross-process messages are answered only when the installer pumps its queue; during the installation it
// does not, for a moment, so the bound is generous.
constexpr UINT kSendTimeoutMs = 10000;

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    }
    return out;
}

// A small JSON writer: answers are flat enough that building them by hand stays readable.
std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

class Json {
public:
    Json& Add(const char* key, const std::string& raw_value) {
        body_ += (body_.empty() ? "" : ",") + Quote(key) + ":" + raw_value;
        return *this;
    }
    Json& Str(const char* key, const std::string& value) { return Add(key, Quote(value)); }
    Json& Int(const char* key, long long value) { return Add(key, std::to_string(value)); }
    Json& Bool(const char* key, bool value) { return Add(key, value ? "true" : "false"); }
    std::string Text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

std::string Array(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out + "]";
}

std::string Handle(HWND hwnd) { return std::to_string(reinterpret_cast<uintptr_t>(hwnd)); }

std::string ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return Narrow(name);
}

// The text as the control itself reports it (WM_GETTEXT is marshalled across processes), so an edit
// field's current contents are read, not the caption it was created with.
bool ReadText(HWND hwnd, std::string* text) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return false;
    std::wstring buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&buffer[0]),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
        return false;
    buffer.resize(copied);
    *text = Narrow(buffer);
    return true;
}

std::string Caption(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return Narrow(buffer);
}

std::string RectJson(const RECT& r) {
    return Json()
        .Int("x", r.left)
        .Int("y", r.top)
        .Int("width", r.right - r.left)
        .Int("height", r.bottom - r.top)
        .Text();
}

// `r` (screen coordinates) as seen from the client area of `reference`.
RECT Relative(RECT r, HWND reference) {
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT ClientOnScreen(HWND hwnd) {
    RECT r = {};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND hwnd, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> Descendants(HWND root) {
    std::vector<HWND> found;
    EnumChildWindows(
        root,
        [](HWND hwnd, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

int Depth(HWND hwnd, HWND root) {
    int depth = 0;
    for (HWND h = hwnd; h && h != root; h = GetParent(h)) ++depth;
    return depth;
}

// A scroll container's inner window may carry an ID that equals a control's number, so the control
// nearest to the top-level window wins; among equals, the first in the window system's order.
HWND FindControl(HWND root, int id, int* matches = nullptr) {
    HWND best = nullptr;
    int best_depth = 0;
    int count = 0;
    for (HWND h : Descendants(root)) {
        if (GetDlgCtrlID(h) != id) continue;
        ++count;
        int depth = Depth(h, root);
        if (!best || depth < best_depth) {
            best = h;
            best_depth = depth;
        }
    }
    if (matches) *matches = count;
    return best;
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

std::string WindowSummary(HWND hwnd) {
    return Json()
        .Add("hwnd", Handle(hwnd))
        .Str("class", ClassOf(hwnd))
        .Str("caption", Caption(hwnd))
        .Bool("visible", IsWindowVisible(hwnd))
        .Bool("enabled", IsWindowEnabled(hwnd))
        .Add("owner", Handle(GetWindow(hwnd, GW_OWNER)))
        .Int("pid", ProcessOf(hwnd))
        .Text();
}

class Driver {
public:
    std::string Run(const std::string& line) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        std::string rest;
        std::getline(in, rest);
        if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
        args_ = rest;

        if (command == "hello") return Ok().Int("pid", GetCurrentProcessId()).Text();
        if (command == "ignore") return Ignore();
        if (command == "wait-window") return WaitWindow(false);
        if (command == "wait-new-window") return WaitWindow(true);
        if (command == "wait-window-gone") return WaitWindowGone();
        if (command == "window") return WindowInfo();
        if (command == "control") return ControlInfo();
        if (command == "state") return ControlState();
        if (command == "wait-control") return WaitControl();
        if (command == "text") return Text();
        if (command == "click") return Post(BM_CLICK);
        if (command == "set-text") return SetText();
        if (command == "close") return CloseTarget(false);
        if (command == "sys-close") return CloseTarget(true);
        if (command == "progress") return Progress();
        if (command == "list-rows") return ListRows();
        if (command == "columns") return Columns();
        if (command == "focus") return Focus();
        if (command == "dialog-wait") return DialogWait();
        if (command == "dialog-controls") return ControlList(dialog_);
        if (command == "dialog-press") return DialogPress();
        if (command == "dialog-tree") return DialogTree();
        if (command == "dialog-tree-select") return DialogTreeSelect();
        if (command == "dialog-wait-gone") return DialogWaitGone();
        if (command == "wait-gone") return WaitGone();
        return Fail("unknown command: " + command);
    }

private:
    static Json Ok() { return Json().Bool("ok", true); }
    static std::string Fail(const std::string& why) {
        return Json().Bool("ok", false).Str("error", why).Text();
    }

    // Leading space-separated words of the arguments; the rest of the line stays in args_ as a text.
    std::string Word() {
        size_t start = args_.find_first_not_of(' ');
        if (start == std::string::npos) {
            args_.clear();
            return std::string();
        }
        size_t end = args_.find(' ', start);
        std::string word = args_.substr(start, end == std::string::npos ? std::string::npos : end - start);
        args_ = end == std::string::npos ? std::string() : args_.substr(end + 1);
        return word;
    }
    int Number() { return std::atoi(Word().c_str()); }
    std::string RestText() { return Unescape(args_); }

    template <typename Condition>
    static bool PollUntil(DWORD timeout_ms, Condition done) {
        DWORD start = GetTickCount();
        for (;;) {
            if (done()) return true;
            if (GetTickCount() - start >= timeout_ms) return false;
            Sleep(kPollMs);
        }
    }

    std::string VisibleWindows() {
        std::vector<std::string> items;
        for (HWND h : TopLevelWindows())
            if (IsWindowVisible(h)) items.push_back(WindowSummary(h));
        return Array(items);
    }

    // Other installers may be running beside ours; the driver knows their process IDs.
    std::string Ignore() {
        ignored_.push_back(static_cast<DWORD>(Number()));
        return Ok().Text();
    }

    // Once the driver has found the installer, only its process counts.
    bool Ours(HWND h) const {
        DWORD pid = ProcessOf(h);
        if (pid_) return pid == pid_;
        for (DWORD other : ignored_)
            if (pid == other) return false;
        return true;
    }

    HWND FindTopLevel(const std::wstring& caption, bool visible_only, HWND except = nullptr) {
        for (HWND h : TopLevelWindows()) {
            if (h == except || (visible_only && !IsWindowVisible(h)) || !Ours(h)) continue;
            wchar_t buffer[1024] = {};
            GetWindowTextW(h, buffer, 1024);
            if (caption == buffer) return h;
        }
        return nullptr;
    }

    // With `fresh`, the window found must differ from the current one: two screens share a caption, and
    // the next one replaces the current one in the same slot.
    std::string WaitWindow(bool fresh) {
        DWORD timeout = Number();
        std::wstring caption = Widen(RestText());
        HWND except = fresh ? target_ : nullptr;
        HWND found = nullptr;
        if (!PollUntil(timeout, [&] { return (found = FindTopLevel(caption, true, except)) != nullptr; }))
            return Json().Bool("ok", false).Str("error", "timeout").Add("windows", VisibleWindows()).Text();
        target_ = found;
        pid_ = ProcessOf(found);
        return Ok().Add("hwnd", Handle(found)).Int("pid", pid_).Text();
    }

    std::string WaitWindowGone() {
        DWORD timeout = Number();
        std::wstring caption = Widen(RestText());
        if (!PollUntil(timeout, [&] { return FindTopLevel(caption, false) == nullptr; }))
            return Fail("timeout");
        return Ok().Text();
    }

    bool HaveTarget() const { return target_ && IsWindow(target_); }

    std::string WindowInfo() {
        if (!HaveTarget()) return Fail("no window");
        RECT window = {};
        GetWindowRect(target_, &window);
        RECT client = {};
        GetClientRect(target_, &client);
        LONG style = GetWindowLongW(target_, GWL_STYLE);
        return Ok()
            .Str("caption", Caption(target_))
            .Str("class", ClassOf(target_))
            .Add("window_rect", RectJson(window))
            .Add("client_on_screen", RectJson(ClientOnScreen(target_)))
            .Int("client_width", client.right)
            .Int("client_height", client.bottom)
            .Int("screen_width", GetSystemMetrics(SM_CXSCREEN))
            .Int("screen_height", GetSystemMetrics(SM_CYSCREEN))
            .Int("scrollbar_width", GetSystemMetrics(SM_CXVSCROLL))
            .Int("scroll_arrow_height", GetSystemMetrics(SM_CYVSCROLL))
            .Int("style", static_cast<DWORD>(style))
            .Int("exstyle", static_cast<DWORD>(GetWindowLongW(target_, GWL_EXSTYLE)))
            .Bool("visible", IsWindowVisible(target_))
            .Bool("enabled", IsWindowEnabled(target_))
            .Text();
    }

    std::string Describe(HWND root, HWND h, int matches) {
        RECT r = {};
        GetWindowRect(h, &r);
        RECT client = {};
        GetClientRect(h, &client);
        HWND parent = GetParent(h);
        std::string text;
        bool readable = ReadText(h, &text);
        Json json = Ok();
        json.Bool("exists", true)
            .Int("id", GetDlgCtrlID(h))
            .Add("hwnd", Handle(h))
            .Str("class", ClassOf(h))
            .Add("rect", RectJson(Relative(r, root)))
            .Add("in_parent", RectJson(Relative(r, parent)))
            .Add("screen", RectJson(r))
            .Add("client_on_screen", RectJson(ClientOnScreen(h)))
            .Int("parent_id", parent == root ? -1 : GetDlgCtrlID(parent))
            .Str("parent_class", ClassOf(parent))
            .Int("depth", Depth(h, root))
            .Bool("enabled", IsWindowEnabled(h))
            .Bool("visible", IsWindowVisible(h))
            .Int("style", static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE)))
            .Int("exstyle", static_cast<DWORD>(GetWindowLongW(h, GWL_EXSTYLE)));
        if (readable) json.Str("text", text);
        if (matches >= 0) json.Int("matches", matches);
        return json.Text();
    }

    std::string ControlInfo() {
        if (!HaveTarget()) return Fail("no window");
        int id = Number();
        int matches = 0;
        HWND h = FindControl(target_, id, &matches);
        if (!h) return Ok().Bool("exists", false).Text();
        return Describe(target_, h, matches);
    }

    // Whether the control exists, is enabled and visible, read from the window system alone: it answers
    // at once even while the installer works without handling messages, when a text read would wait.
    std::string ControlState() {
        if (!HaveTarget()) return Fail("no window");
        HWND h = FindControl(target_, Number());
        if (!h) return Ok().Bool("exists", false).Text();
        return Ok()
            .Bool("exists", true)
            .Bool("enabled", IsWindowEnabled(h))
            .Bool("visible", IsWindowVisible(h))
            .Text();
    }

    // A screen's window is shown before its controls are made, so a test waits for the last of them.
    std::string WaitControl() {
        if (!HaveTarget()) return Fail("no window");
        DWORD timeout = Number();
        int id = Number();
        if (!PollUntil(timeout, [&] { return HaveTarget() && FindControl(target_, id) != nullptr; }))
            return Fail("timeout");
        return Ok().Text();
    }

    std::string ControlList(HWND root) {
        if (!root || !IsWindow(root)) return Fail("no window");
        std::vector<std::string> items;
        for (HWND h : Descendants(root)) items.push_back(Describe(root, h, -1));
        return Ok().Add("controls", Array(items)).Text();
    }

    HWND Control(std::string* error) {
        if (!HaveTarget()) {
            *error = "no window";
            return nullptr;
        }
        std::string word = Word();
        HWND h = FindControl(target_, std::atoi(word.c_str()));
        if (!h) *error = "no control " + word;
        return h;
    }

    std::string Text() {
        std::string error;
        HWND h = Control(&error);
        if (!h) return Fail(error);
        std::string text;
        if (!ReadText(h, &text)) return Fail("no answer");
        return Ok().Str("text", text).Text();
    }

    // Posted, not sent: the click then reaches the installer the way a user's does, through its own
    // message loop, and the driver never waits on a handler that opens a modal dialog.
    std::string Post(UINT message) {
        std::string error;
        HWND h = Control(&error);
        if (!h) return Fail(error);
        bool enabled = IsWindowEnabled(h);
        if (!PostMessageW(h, message, 0, 0)) return Fail("post failed");
        return Ok().Bool("enabled", enabled).Text();
    }

    std::string SetText() {
        std::string error;
        HWND h = Control(&error);
        if (!h) return Fail(error);
        std::wstring text = Widen(RestText());
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                 SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
            return Fail("no answer");
        return Ok().Bool("accepted", result != 0).Text();
    }

    std::string CloseTarget(bool system_command) {
        if (!HaveTarget()) return Fail("no window");
        BOOL posted = system_command ? PostMessageW(target_, WM_SYSCOMMAND, SC_CLOSE, 0)
                                     : PostMessageW(target_, WM_CLOSE, 0, 0);
        return posted ? Ok().Text() : Fail("post failed");
    }

    static bool Send(HWND h, UINT message, WPARAM w, LPARAM l, DWORD_PTR* result) {
        return SendMessageTimeoutW(h, message, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, result) != 0;
    }

    std::string Progress() {
        std::string error;
        HWND h = Control(&error);
        if (!h) return Fail(error);
        DWORD_PTR pos = 0, low = 0, high = 0;
        if (!Send(h, PBM_GETPOS, 0, 0, &pos) || !Send(h, PBM_GETRANGE, TRUE, 0, &low) ||
            !Send(h, PBM_GETRANGE, FALSE, 0, &high))
            return Fail("no answer");
        return Ok()
            .Int("pos", static_cast<int>(pos))
            .Int("low", static_cast<int>(low))
            .Int("high", static_cast<int>(high))
            .Text();
    }

    // The list view itself: the numbered control, or the first list view inside it when the number
    // belongs to a wrapper around one.
    HWND ListView(std::string* error) {
        HWND h = Control(error);
        if (!h || ClassOf(h) == WC_LISTVIEWA) return h;
        for (HWND child : Descendants(h))
            if (ClassOf(child) == WC_LISTVIEWA) return child;
        *error = "no list view";
        return nullptr;
    }

    // List-view messages carry pointers that the window system does not marshal, so their structures and
    // text buffers live in the installer's own address space for the duration of one command.
    class RemoteBlock {
    public:
        RemoteBlock(HWND owner, size_t size) : size_(size) {
            DWORD pid = ProcessOf(owner);
            process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
            if (process_)
                base_ = static_cast<char*>(
                    VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        }
        ~RemoteBlock() {
            if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
            if (process_) CloseHandle(process_);
        }
        RemoteBlock(const RemoteBlock&) = delete;
        RemoteBlock& operator=(const RemoteBlock&) = delete;

        bool Valid() const { return base_ != nullptr; }
        char* At(size_t offset) const { return base_ + offset; }
        bool Write(size_t offset, const void* data, size_t size) const {
            SIZE_T done = 0;
            return WriteProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
        }
        bool Read(size_t offset, void* data, size_t size) const {
            SIZE_T done = 0;
            return ReadProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
        }

    private:
        HANDLE process_ = nullptr;
        char* base_ = nullptr;
        size_t size_;
    };

    static constexpr size_t kTextChars = 1024;
    static constexpr size_t kTextOffset = 512;

    static std::string RemoteText(const RemoteBlock& block) {
        std::wstring text(kTextChars, L'\0');
        if (!block.Read(kTextOffset, &text[0], kTextChars * sizeof(wchar_t))) return std::string();
        text.resize(wcsnlen(text.c_str(), kTextChars));
        return Narrow(text);
    }

    int ColumnCount(HWND list) {
        DWORD_PTR header = 0, count = 0;
        if (!Send(list, LVM_GETHEADER, 0, 0, &header) || !header) return 0;
        if (!Send(reinterpret_cast<HWND>(header), HDM_GETITEMCOUNT, 0, 0, &count)) return 0;
        return static_cast<int>(count);
    }

    std::string ListRows() {
        std::string error;
        HWND list = ListView(&error);
        if (!list) return Fail(error);
        RemoteBlock block(list, kTextOffset + kTextChars * sizeof(wchar_t));
        if (!block.Valid()) return Fail("no memory in the installer's process");
        DWORD_PTR rows = 0;
        if (!Send(list, LVM_GETITEMCOUNT, 0, 0, &rows)) return Fail("no answer");
        int columns = ColumnCount(list);
        if (columns < 1) columns = 1;
        std::vector<std::string> items;
        for (int row = 0; row < static_cast<int>(rows); ++row) {
            std::vector<std::string> cells;
            for (int column = 0; column < columns; ++column) {
                LVITEMW item = {};
                item.iSubItem = column;
                item.pszText = reinterpret_cast<LPWSTR>(block.At(kTextOffset));
                item.cchTextMax = kTextChars;
                std::wstring empty(kTextChars, L'\0');
                DWORD_PTR copied = 0;
                if (!block.Write(0, &item, sizeof item) ||
                    !block.Write(kTextOffset, empty.data(), kTextChars * sizeof(wchar_t)) ||
                    !Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(block.At(0)), &copied))
                    return Fail("no answer");
                cells.push_back(Quote(RemoteText(block)));
            }
            items.push_back(Array(cells));
        }
        return Ok().Add("rows", Array(items)).Text();
    }

    std::string Columns() {
        std::string error;
        HWND list = ListView(&error);
        if (!list) return Fail(error);
        RemoteBlock block(list, kTextOffset + kTextChars * sizeof(wchar_t));
        if (!block.Valid()) return Fail("no memory in the installer's process");
        std::vector<std::string> items;
        int count = ColumnCount(list);
        for (int i = 0; i < count; ++i) {
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = reinterpret_cast<LPWSTR>(block.At(kTextOffset));
            column.cchTextMax = kTextChars;
            std::wstring empty(kTextChars, L'\0');
            DWORD_PTR done = 0;
            if (!block.Write(0, &column, sizeof column) ||
                !block.Write(kTextOffset, empty.data(), kTextChars * sizeof(wchar_t)) ||
                !Send(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(block.At(0)), &done) || !done)
                return Fail("no answer");
            LVCOLUMNW back = {};
            block.Read(0, &back, sizeof back);
            items.push_back(Json().Str("text", RemoteText(block)).Int("width", back.cx).Text());
        }
        DWORD_PTR style = 0;
        Send(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0, &style);
        return Ok()
            .Add("columns", Array(items))
            .Int("style", static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE)))
            .Int("exstyle", static_cast<DWORD>(GetWindowLongW(list, GWL_EXSTYLE)))
            .Int("list_exstyle", static_cast<DWORD>(style))
            .Text();
    }

    // Which window of the installer's thread holds the keyboard focus, with the numbers of its ancestors
    // up to the top-level window, so a test can tell "inside control 0".
    std::string Focus() {
        if (!HaveTarget()) return Fail("no window");
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(target_, nullptr), &info)) return Fail("no info");
        std::vector<std::string> chain;
        for (HWND h = info.hwndFocus; h && h != target_ && GetParent(h); h = GetParent(h))
            chain.push_back(std::to_string(GetDlgCtrlID(h)));
        return Ok()
            .Add("focus", Handle(info.hwndFocus))
            .Str("focus_class", info.hwndFocus ? ClassOf(info.hwndFocus) : "")
            .Add("focus_ids", Array(chain))
            .Add("active", Handle(info.hwndActive))
            .Bool("target_active", info.hwndActive == target_)
            .Text();
    }

    HWND FindDialog(const std::wstring& title) {
        for (HWND h : TopLevelWindows()) {
            if (h == target_ || !IsWindowVisible(h) || ProcessOf(h) != pid_) continue;
            if (ClassOf(h) != "#32770") continue;
            wchar_t buffer[1024] = {};
            GetWindowTextW(h, buffer, 1024);
            if (title.empty() || title == buffer) return h;
        }
        return nullptr;
    }

    std::string DialogWait() {
        if (!pid_) return Fail("no window");
        DWORD timeout = Number();
        std::wstring title = Widen(RestText());
        HWND found = nullptr;
        if (!PollUntil(timeout, [&] { return (found = FindDialog(title)) != nullptr; }))
            return Json().Bool("ok", false).Str("error", "timeout").Add("windows", VisibleWindows()).Text();
        dialog_ = found;
        HWND owner = GetWindow(found, GW_OWNER);
        RECT rect = {};
        GetWindowRect(found, &rect);
        return Ok()
            .Add("hwnd", Handle(found))
            .Add("window_rect", RectJson(rect))
            .Str("title", Caption(found))
            .Add("owner", Handle(owner))
            .Bool("owned_by_target", owner && owner == target_)
            .Bool("target_enabled", HaveTarget() && IsWindowEnabled(target_))
            .Text();
    }

    HWND DialogTreeView() {
        if (!dialog_ || !IsWindow(dialog_)) return nullptr;
        for (HWND h : Descendants(dialog_))
            if (ClassOf(h) == WC_TREEVIEWA) return h;
        return nullptr;
    }

    static HTREEITEM TreeItem(HWND tree, UINT relation, HTREEITEM from) {
        DWORD_PTR item = 0;
        if (!Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from), &item)) return nullptr;
        return reinterpret_cast<HTREEITEM>(item);
    }

    static std::string TreeText(HWND tree, const RemoteBlock& block, HTREEITEM item) {
        TVITEMW query = {};
        query.mask = TVIF_TEXT | TVIF_HANDLE;
        query.hItem = item;
        query.pszText = reinterpret_cast<LPWSTR>(block.At(kTextOffset));
        query.cchTextMax = kTextChars;
        std::wstring empty(kTextChars, L'\0');
        DWORD_PTR done = 0;
        if (!block.Write(0, &query, sizeof query) ||
            !block.Write(kTextOffset, empty.data(), kTextChars * sizeof(wchar_t)) ||
            !Send(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.At(0)), &done) || !done)
            return std::string();
        return RemoteText(block);
    }

    // The folder tree's selected item and its ancestors, from the root down, as the tree names them.
    std::string DialogTree() {
        HWND tree = DialogTreeView();
        if (!tree) return Fail("no folder tree");
        RemoteBlock block(tree, kTextOffset + kTextChars * sizeof(wchar_t));
        if (!block.Valid()) return Fail("no memory in the installer's process");
        std::vector<std::string> chain;
        for (HTREEITEM item = TreeItem(tree, TVGN_CARET, nullptr); item;
             item = TreeItem(tree, TVGN_PARENT, item))
            chain.insert(chain.begin(), Quote(TreeText(tree, block, item)));
        return Ok().Add("selected", Array(chain)).Text();
    }

    // Selects an item of the folder tree the way a user opens one folder after another: from the root,
    // each level is expanded and the child with the next name (tab-separated in the text) is taken.
    std::string DialogTreeSelect() {
        HWND tree = DialogTreeView();
        if (!tree) return Fail("no folder tree");
        RemoteBlock block(tree, kTextOffset + kTextChars * sizeof(wchar_t));
        if (!block.Valid()) return Fail("no memory in the installer's process");
        std::istringstream names(RestText());
        std::string name;
        HTREEITEM parent = nullptr;
        while (std::getline(names, name, '\t')) {
            if (parent) {
                DWORD_PTR done = 0;
                Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent), &done);
            }
            HTREEITEM item = parent ? TreeItem(tree, TVGN_CHILD, parent) : TreeItem(tree, TVGN_ROOT, nullptr);
            while (item && TreeText(tree, block, item) != name) item = TreeItem(tree, TVGN_NEXT, item);
            if (!item) return Fail("no folder named " + name);
            parent = item;
        }
        DWORD_PTR done = 0;
        if (!parent || !Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(parent), &done) || !done)
            return Fail("not selected");
        return Ok().Text();
    }

    std::string DialogPress() {
        if (!dialog_ || !IsWindow(dialog_)) return Fail("no dialog");
        int id = Number();
        HWND button = FindControl(dialog_, id);
        if (!PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)))
            return Fail("post failed");
        return Ok().Bool("button_found", button != nullptr).Text();
    }

    std::string DialogWaitGone() {
        DWORD timeout = Number();
        if (!PollUntil(timeout, [&] { return !dialog_ || !IsWindow(dialog_) || !IsWindowVisible(dialog_); }))
            return Fail("timeout");
        return Ok().Text();
    }

    bool InstallerWindowsLeft() {
        for (HWND h : TopLevelWindows())
            if (ProcessOf(h) == pid_ && IsWindowVisible(h)) return true;
        return false;
    }

    std::string WaitGone() {
        if (!pid_) return Fail("no window");
        DWORD timeout = Number();
        if (!PollUntil(timeout, [&] { return !InstallerWindowsLeft(); })) return Fail("timeout");
        return Ok().Text();
    }

    std::string args_;
    HWND target_ = nullptr;
    DWORD pid_ = 0;
    HWND dialog_ = nullptr;
    std::vector<DWORD> ignored_;
};

}  // namespace

int main() {
    // Binary streams: the C runtime would otherwise turn each "\n" of an answer into "\r\n".
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    // Aware of the display's DPI, the driver sees the installer's windows in real pixels; unaware, the
    // system would report them scaled to 96 DPI.
    SetProcessDPIAware();
    Driver driver;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line == "quit") break;
        std::string answer = driver.Run(line) + "\n";
        std::fwrite(answer.data(), 1, answer.size(), stdout);
        std::fflush(stdout);
    }
    return 0;
}
