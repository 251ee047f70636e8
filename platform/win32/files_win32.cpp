// The file layer of the real product. Paths come in as UTF-8 and go to the wide-character calls, so a
// folder with any Unicode name works whatever the system's code page is.

#include "platform/files.h"
#include "platform/win32/win32_internal.h"

#include <algorithm>

// windows.h maps these names to its own A/W variants, which would rename our functions.
#undef CreateFile
#undef SetCurrentDirectory

namespace plat {
namespace {

using win32::Narrow;
using win32::Widen;

// Open handles by our handle - 1; INVALID_HANDLE_VALUE marks a free slot.
std::vector<HANDLE> open_files;

bool EndsWithSeparator(const std::wstring& path) {
    return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

HANDLE Handle(FileHandle file) {
    if (file < 1 || static_cast<std::size_t>(file) > open_files.size()) {
        return INVALID_HANDLE_VALUE;
    }
    return open_files[static_cast<std::size_t>(file) - 1];
}

FileHandle AddOpenFile(HANDLE handle) {
    auto free_slot = std::find(open_files.begin(), open_files.end(), INVALID_HANDLE_VALUE);
    if (free_slot == open_files.end()) {
        open_files.push_back(handle);
        return static_cast<FileHandle>(open_files.size());
    }
    *free_slot = handle;
    return static_cast<FileHandle>(free_slot - open_files.begin() + 1);
}

// Removes what it can inside `folder` (which ends with a separator). The entries are read before any is
// removed, so no search stays open while a subfolder is worked on.
void EmptyFolder(const std::wstring& folder) {
    struct Entry {
        std::wstring path;
        DWORD attributes;
    };
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (!IsDotOrDotDot(found.cFileName)) {
            entries.push_back({folder + found.cFileName, found.dwFileAttributes});
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);

    for (const Entry& entry : entries) {
        bool is_folder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // A folder link or junction is removed itself: entering it would empty its target, which lies
        // outside the tree. A file link goes with DeleteFileW like any file, which removes the link.
        if ((entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && is_folder) {
            RemoveDirectoryW(entry.path.c_str());
        } else if (is_folder) {
            EmptyFolder(entry.path + L"\\");
            RemoveDirectoryW(entry.path.c_str());
        } else {
            DeleteFileW(entry.path.c_str());
        }
    }
}

}  // namespace

std::string CurrentDirectory() {
    std::wstring folder;
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    // The directory can change between the two calls; then the second asks for more room again.
    while (needed > folder.size()) {
        folder.resize(needed);
        needed = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    }
    if (needed == 0) {
        return std::string();
    }
    folder.resize(needed);
    if (!EndsWithSeparator(folder)) {
        folder += L'\\';
    }
    return Narrow(folder);
}

bool ListFolder(const std::string& folder, const std::string& pattern,
                std::vector<FolderEntry>* entries) {
    std::wstring search = Widen(folder);
    if (!search.empty() && !EndsWithSeparator(search)) {
        search += L'\\';
    }
    search += Widen(pattern);

    std::vector<FolderEntry> listed;
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW(search.c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) {
        // Nothing matched in a folder that exists; every other error means it cannot be listed.
        if (GetLastError() != ERROR_FILE_NOT_FOUND) {
            return false;
        }
        entries->clear();
        return true;
    }
    do {
        if (!IsDotOrDotDot(found.cFileName)) {
            bool is_folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            listed.push_back({Narrow(found.cFileName), is_folder});
        }
    } while (FindNextFileW(listing, &found));
    bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(listing);
    if (complete) {
        *entries = std::move(listed);
    }
    return complete;
}

bool RemoveFolderTree(const std::string& folder) {
    std::wstring path = Widen(folder);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    // A link given as the folder is removed itself, like one found inside.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        EmptyFolder(EndsWithSeparator(path) ? path : path + L"\\");
    }
    return RemoveDirectoryW(path.c_str()) != 0;
}

bool CreateFolder(const std::string& path) {
    std::wstring trimmed = Widen(path);
    std::wstring::size_type end = trimmed.find_last_not_of(L" /\\");
    trimmed.erase(end == std::wstring::npos ? 0 : end + 1);
    return !trimmed.empty() && CreateDirectoryW(trimmed.c_str(), nullptr) != 0;
}

bool SetCurrentDirectory(const std::string& path) {
    return SetCurrentDirectoryW(Widen(path).c_str()) != 0;
}

FileHandle CreateFile(const std::string& name) {
    std::wstring path = Widen(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        // CREATE_ALWAYS is refused on an existing hidden or system file, and read access may be denied
        // where writing is allowed; such a file can still be opened for writing and emptied.
        file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return 0;
        }
        if (!SetEndOfFile(file)) {
            CloseHandle(file);
            return 0;
        }
    }
    return AddOpenFile(file);
}

std::size_t WriteFile(FileHandle file, const void* data, std::size_t count) {
    HANDLE handle = Handle(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const char* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    // One call takes the whole count; another follows only when the system took part of it without an
    // error, or when the count is more than one call can carry.
    while (written < count) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - written, MAXDWORD));
        DWORD accepted = 0;
        BOOL ok = ::WriteFile(handle, bytes + written, chunk, &accepted, nullptr);
        written += accepted;
        if (!ok || accepted == 0) {
            break;
        }
    }
    return written;
}

bool CloseFile(FileHandle file) {
    HANDLE handle = Handle(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    open_files[static_cast<std::size_t>(file) - 1] = INVALID_HANDLE_VALUE;
    bool flushed = FlushFileBuffers(handle) != 0;
    bool closed = CloseHandle(handle) != 0;
    return flushed && closed;
}

void CloseAllFiles() {
    for (HANDLE handle : open_files) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    open_files.clear();
}

}  // namespace plat
