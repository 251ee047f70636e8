// The folder list: the platform's list view in details mode, subclassed so that it reads its folder,
// sorts, navigates and refreshes on its own and the program needs to handle none of its notifications.
#include "platform/win32/folder_list_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <iterator>
#include <memory>
#include <vector>

namespace {

// Posted by the watcher thread when the shown folder changed. The list view class leaves the WM_APP range
// to its users, so it cannot clash with a message of the control's own.
constexpr UINT kFolderChanged = WM_APP + 1;
constexpr UINT_PTR kSubclassId = 1;

enum Column { kNameColumn, kSizeColumn, kTypeColumn, kModifiedColumn };
constexpr int kNoSortColumn = -1;

struct Row {
    std::wstring name;
    bool is_parent;
    bool is_folder;
    ULONGLONG size;
    FILETIME modified;
    std::wstring type;
};

// Watches one folder from a thread of its own and posts kFolderChanged to the list for every change. The
// re-listing itself then happens on the window's thread, which owns the control.
class FolderWatch {
public:
    FolderWatch(HWND list, const std::wstring& folder) : list_(list) {
        change_ = FindFirstChangeNotificationW(
            folder.c_str(), FALSE,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES |
                FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
        // A folder that cannot be watched (gone, refused) is shown as it was read.
        if (change_ == INVALID_HANDLE_VALUE) {
            return;
        }
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (stop_ != nullptr) {
            thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        }
    }

    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    ~FolderWatch() {
        if (thread_ != nullptr) {
            SetEvent(stop_);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (stop_ != nullptr) {
            CloseHandle(stop_);
        }
        if (change_ != INVALID_HANDLE_VALUE) {
            FindCloseChangeNotification(change_);
        }
    }

    // Called on the window's thread before it re-lists, so that a change during the listing posts anew.
    void Acknowledge() { InterlockedExchange(&posted_, 0); }

private:
    // Writing a file brings a burst of changes; one posted message at a time keeps that to one re-listing.
    static DWORD WINAPI Run(void* parameter) {
        FolderWatch* watch = static_cast<FolderWatch*>(parameter);
        HANDLE waits[] = {watch->stop_, watch->change_};
        while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            if (InterlockedExchange(&watch->posted_, 1) == 0 &&
                !PostMessageW(watch->list_, kFolderChanged, 0, 0)) {
                InterlockedExchange(&watch->posted_, 0);
            }
            if (!FindNextChangeNotification(watch->change_)) {
                break;
            }
        }
        return 0;
    }

    HWND list_;
    HANDLE change_ = INVALID_HANDLE_VALUE;
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    LONG volatile posted_ = 0;
};

struct FolderList {
    HWND list;
    std::wstring folder;    // ends with a separator
    std::vector<Row> rows;  // in the order read; the items carry their index
    int sort_column = kNoSortColumn;
    bool descending = false;
    std::unique_ptr<FolderWatch> watch;
};

std::wstring WithSeparator(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    return folder;
}

// Absolute, so that the list keeps showing the same folder whatever the current directory becomes.
std::wstring FullPath(const std::wstring& path) {
    DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return path;
    }
    full.resize(length);
    return full;
}

std::wstring TypeName(const std::wstring& name, bool is_folder) {
    SHFILEINFOW info{};
    DWORD attributes = is_folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (!SHGetFileInfoW(name.c_str(), attributes, &info, sizeof info,
                        SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES)) {
        return std::wstring();
    }
    return info.szTypeName;
}

std::wstring SizeText(const Row& row) {
    if (row.is_folder) {
        return std::wstring();
    }
    ULONGLONG kilobytes = row.size / 1024 + (row.size % 1024 != 0 ? 1 : 0);
    // Digits by hand: std::to_wstring goes through swprintf, which links the C library's whole printf.
    wchar_t digits[24];
    wchar_t* first = digits + 24;
    do {
        *--first = static_cast<wchar_t>(L'0' + kilobytes % 10);
        kilobytes /= 10;
    } while (kilobytes != 0);
    return std::wstring(first, digits + 24) + L" KB";
}

std::wstring ModifiedText(const Row& row) {
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (row.is_parent || !FileTimeToSystemTime(&row.modified, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        return std::wstring();
    }
    wchar_t date[80];
    wchar_t clock[80];
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 80) ||
        !GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &local, nullptr, clock, 80)) {
        return std::wstring();
    }
    return std::wstring(date) + L" " + clock;
}

// The parent entry, then the subfolders, then the files, each group in the file system's order. A folder
// that cannot be read shows the parent entry alone, the way back out.
std::vector<Row> ReadRows(const std::wstring& folder) {
    std::vector<Row> rows = {{L"..", true, true, 0, {}, std::wstring()}};
    std::vector<Row> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return rows;
    }
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        ULONGLONG size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        Row row = {name, false, is_folder, is_folder ? 0 : size, found.ftLastWriteTime,
                   TypeName(name, is_folder)};
        (is_folder ? rows : files).push_back(std::move(row));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    rows.insert(rows.end(), files.begin(), files.end());
    return rows;
}

// The order of two items for LVM_SORTITEMS, which hands over the items' indexes into the rows.
int CALLBACK CompareRows(LPARAM first_index, LPARAM second_index, LPARAM list_address) {
    const FolderList& list = *reinterpret_cast<const FolderList*>(list_address);
    const Row& first = list.rows[static_cast<std::size_t>(first_index)];
    const Row& second = list.rows[static_cast<std::size_t>(second_index)];
    if (first.is_parent != second.is_parent) {
        return first.is_parent ? -1 : 1;
    }
    int order = 0;
    switch (list.sort_column) {
    case kNameColumn:
        order = lstrcmpiW(first.name.c_str(), second.name.c_str());
        break;
    case kSizeColumn:
        order = first.size < second.size ? -1 : (first.size > second.size ? 1 : 0);
        break;
    case kTypeColumn:
        order = lstrcmpiW(first.type.c_str(), second.type.c_str());
        break;
    case kModifiedColumn:
        order = CompareFileTime(&first.modified, &second.modified);
        break;
    default:
        break;
    }
    // Equal entries keep the file system's order, so a reversal reverses the whole list exactly.
    if (order == 0) {
        order = first_index < second_index ? -1 : (first_index > second_index ? 1 : 0);
    }
    return list.descending ? -order : order;
}

void Sort(FolderList& list) {
    if (list.sort_column != kNoSortColumn) {
        SendMessageW(list.list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&list),
                     reinterpret_cast<LPARAM>(&CompareRows));
    }
}

int ItemCount(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// The row shown by `item`, or null.
const Row* RowOfItem(const FolderList& list, int item) {
    LVITEMW query{};
    query.mask = LVIF_PARAM;
    query.iItem = item;
    if (item < 0 || !SendMessageW(list.list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query))) {
        return nullptr;
    }
    return &list.rows[static_cast<std::size_t>(query.lParam)];
}

void SetItemText(HWND list, int item, int column, const std::wstring& text) {
    LVITEMW change{};
    change.iSubItem = column;
    change.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&change));
}

// Reads the folder and shows it afresh. On a refresh the selected entry stays selected and the view
// stays where it was scrolled to, so that a change in the folder does not throw the user back.
void Fill(FolderList& list, bool keep_view) {
    HWND view = list.list;
    std::wstring selected_name;
    int top = 0;
    if (keep_view) {
        int selected = static_cast<int>(SendMessageW(view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                     LVNI_SELECTED));
        if (const Row* row = RowOfItem(list, selected)) {
            selected_name = row->name;
        }
        top = static_cast<int>(SendMessageW(view, LVM_GETTOPINDEX, 0, 0));
    }

    // Read first: the shell's type names may take a moment, and the old rows stay in view meanwhile.
    std::vector<Row> rows = ReadRows(list.folder);
    SendMessageW(view, WM_SETREDRAW, FALSE, 0);
    SendMessageW(view, LVM_DELETEALLITEMS, 0, 0);
    list.rows = std::move(rows);
    for (std::size_t index = 0; index < list.rows.size(); ++index) {
        const Row& row = list.rows[index];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(index);
        item.pszText = const_cast<wchar_t*>(row.name.c_str());
        item.lParam = static_cast<LPARAM>(index);
        int position = static_cast<int>(SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (position < 0) {
            continue;
        }
        SetItemText(view, position, kSizeColumn, SizeText(row));
        SetItemText(view, position, kTypeColumn, row.type);
        SetItemText(view, position, kModifiedColumn, ModifiedText(row));
    }
    Sort(list);

    for (int item = 0; !selected_name.empty() && item < ItemCount(view); ++item) {
        if (RowOfItem(list, item)->name == selected_name) {
            LVITEMW state{};
            state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageW(view, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
            break;
        }
    }
    RECT first_row;
    first_row.left = LVIR_BOUNDS;
    if (top > 0 && SendMessageW(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first_row))) {
        SendMessageW(view, LVM_SCROLL, 0, top * (first_row.bottom - first_row.top));
    }
    SendMessageW(view, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(view, nullptr, TRUE);
}

// Shows `folder` from its top in the file system's order, and watches it instead of the one before.
void ShowFolder(FolderList& list, const std::wstring& folder) {
    list.watch.reset();
    list.folder = WithSeparator(FullPath(folder));
    list.sort_column = kNoSortColumn;
    list.descending = false;
    // Watching starts before the reading, so that no change between the two goes unseen.
    list.watch = std::make_unique<FolderWatch>(list.list, list.folder);
    Fill(list, false);
}

void SortByColumn(FolderList& list, int column) {
    if (column == list.sort_column) {
        list.descending = !list.descending;
    } else {
        list.sort_column = column;
        list.descending = false;
    }
    Sort(list);
}

void OpenItemAt(FolderList& list, LPARAM point) {
    LVHITTESTINFO hit{};
    hit.pt.x = GET_X_LPARAM(point);
    hit.pt.y = GET_Y_LPARAM(point);
    int item = static_cast<int>(SendMessageW(list.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    const Row* row = (hit.flags & LVHT_ONITEM) ? RowOfItem(list, item) : nullptr;
    if (row == nullptr || !row->is_folder) {
        return;
    }
    ShowFolder(list, row->is_parent ? list.folder + L".." : list.folder + row->name);
}

LRESULT CALLBACK FolderListProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR data) {
    FolderList* list = reinterpret_cast<FolderList*>(data);
    switch (message) {
    case kFolderChanged:
        if (list->watch) {
            list->watch->Acknowledge();
        }
        Fill(*list, true);
        return 0;
    case WM_NOTIFY: {
        // The column titles belong to the list view's header control, which reports clicks to the list
        // view; the list view passes them on to the program, which takes no part in sorting.
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
        HWND titles = reinterpret_cast<HWND>(SendMessageW(window, LVM_GETHEADER, 0, 0));
        if (header->hwndFrom == titles && (header->code == HDN_ITEMCLICKW || header->code == HDN_ITEMCLICKA)) {
            SortByColumn(*list, reinterpret_cast<const NMHEADERW*>(lparam)->iItem);
        }
        break;
    }
    case WM_LBUTTONDBLCLK: {
        LRESULT result = DefSubclassProc(window, message, wparam, lparam);
        OpenItemAt(*list, lparam);
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, FolderListProc, kSubclassId);
        delete list;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

HWND CreateFolderListWindow(HWND parent, int id, int x, int y, int width, int height, int column_width,
                            const std::wstring& folder, HFONT font) {
    HWND view = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                    LVS_SHOWSELALWAYS,
                                x, y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (view == nullptr) {
        return nullptr;
    }
    if (font != nullptr) {
        SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    const struct {
        const wchar_t* title;
        int format;
    } columns[] = {{L"Name", LVCFMT_LEFT}, {L"Size", LVCFMT_RIGHT}, {L"Type", LVCFMT_LEFT},
                   {L"Modified", LVCFMT_LEFT}};
    for (int index = 0; index < static_cast<int>(std::size(columns)); ++index) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = columns[index].format;
        column.cx = column_width;
        column.pszText = const_cast<wchar_t*>(columns[index].title);
        column.iSubItem = index;
        SendMessageW(view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    }

    auto list = std::make_unique<FolderList>();
    list->list = view;
    if (!SetWindowSubclass(view, FolderListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(list.get()))) {
        DestroyWindow(view);
        return nullptr;
    }
    // From here the window owns the state and frees it at WM_NCDESTROY.
    ShowFolder(*list.release(), folder);
    return view;
}
