// The file layer on POSIX systems, for the host tests: the engine runs on real Linux folders, with real
// full disks, read-only mounts and links. The core's Windows-style paths are read with "/" for "\", and
// open files are descriptors kept in a small table, so the core sees small integers as on Windows.

#include "platform/files.h"
#include "platform/posix/posix_faults.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

namespace plat {
namespace {

// Open descriptors by handle - 1; -1 marks a free slot.
std::vector<int> open_files;

// Closes left before an armed close failure; negative when none is armed.
int closes_before_failure = -1;

std::string PosixPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The descriptor behind `file`, or -1 when it names no open file.
int Descriptor(FileHandle file) {
    if (file < 1 || static_cast<std::size_t>(file) > open_files.size()) {
        return -1;
    }
    return open_files[file - 1];
}

FileHandle AddOpenFile(int fd) {
    auto free_slot = std::find(open_files.begin(), open_files.end(), -1);
    if (free_slot == open_files.end()) {
        open_files.push_back(fd);
        return static_cast<FileHandle>(open_files.size());
    }
    *free_slot = fd;
    return static_cast<FileHandle>(free_slot - open_files.begin() + 1);
}

// Windows lists a folder link among the folders, so a link counts as a folder when its target is one.
bool IsFolderEntry(int folder_fd, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat target;
    return fstatat(folder_fd, entry.d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
}

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Removes what it can inside the open folder `folder_fd` and closes it. Entries are read before any is
// removed, since a folder changed while being read may list an entry twice or not at all. Folders are
// opened with O_NOFOLLOW, so a link is only ever unlinked, never entered.
void EmptyFolder(int folder_fd) {
    DIR* folder = fdopendir(folder_fd);
    if (folder == nullptr) {
        close(folder_fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(folder)) {
        if (!IsDotOrDotDot(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    for (const std::string& name : names) {
        struct stat info;
        if (fstatat(folder_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (!S_ISDIR(info.st_mode)) {
            unlinkat(folder_fd, name.c_str(), 0);
            continue;
        }
        int sub_fd = openat(folder_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub_fd >= 0) {
            EmptyFolder(sub_fd);
        }
        unlinkat(folder_fd, name.c_str(), AT_REMOVEDIR);
    }
    closedir(folder);
}

}  // namespace

std::string CurrentDirectory() {
    std::string buffer(256, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return std::string();
        }
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    if (buffer.back() != '/') {
        buffer += '/';
    }
    return buffer;
}

bool ListFolder(const std::string& folder, const std::string& pattern,
                std::vector<FolderEntry>* entries) {
    // Joined first and split at the last separator, so a pattern that carries a folder part of its own
    // searches there, as the Windows search does.
    std::string search = PosixPath(folder);
    if (!search.empty() && search.back() != '/') {
        search += '/';
    }
    search += PosixPath(pattern);
    std::string::size_type split = search.rfind('/');
    std::string where = split == std::string::npos ? "." : search.substr(0, split == 0 ? 1 : split);
    std::string match = split == std::string::npos ? search : search.substr(split + 1);
    // On Windows "*.*" also takes names without a dot.
    if (match == "*.*") {
        match = "*";
    }

    DIR* listing = opendir(where.c_str());
    if (listing == nullptr) {
        return false;
    }
    std::vector<FolderEntry> found;
    errno = 0;
    while (const dirent* entry = readdir(listing)) {
        if (!IsDotOrDotDot(entry->d_name) && fnmatch(match.c_str(), entry->d_name, 0) == 0) {
            found.push_back({entry->d_name, IsFolderEntry(dirfd(listing), *entry)});
        }
        errno = 0;
    }
    bool complete = errno == 0;
    closedir(listing);
    if (complete) {
        *entries = std::move(found);
    }
    return complete;
}

bool RemoveFolderTree(const std::string& folder) {
    // Without its trailing separators a path that names a link names the link, not its target.
    std::string path = PosixPath(folder);
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        return false;
    }
    if (S_ISLNK(info.st_mode)) {
        unlink(path.c_str());
    } else if (S_ISDIR(info.st_mode)) {
        int folder_fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (folder_fd >= 0) {
            EmptyFolder(folder_fd);
        }
        rmdir(path.c_str());
    } else {
        return false;
    }
    return lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

bool CreateFolder(const std::string& path) {
    std::string trimmed = PosixPath(path);
    std::string::size_type end = trimmed.find_last_not_of(" /");
    trimmed.erase(end == std::string::npos ? 0 : end + 1);
    return !trimmed.empty() && mkdir(trimmed.c_str(), 0777) == 0;
}

bool SetCurrentDirectory(const std::string& path) {
    return chdir(PosixPath(path).c_str()) == 0;
}

FileHandle CreateFile(const std::string& name) {
    // A write past RLIMIT_FSIZE raises SIGXFSZ, which ends the process by default; ignored, the write
    // comes back short instead, and the short count is what the core checks for.
    std::signal(SIGXFSZ, SIG_IGN);
    std::string path = PosixPath(name);
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        // O_CREAT alone can be refused on an existing file that opening it plainly would allow
        // (fs.protected_regular in a sticky folder); the file is then emptied by hand.
        fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) {
            return 0;
        }
        if (ftruncate(fd, 0) != 0) {
            close(fd);
            return 0;
        }
    }
    return AddOpenFile(fd);
}

std::size_t WriteFile(FileHandle file, const void* data, std::size_t count) {
    int fd = Descriptor(file);
    if (fd < 0) {
        return 0;
    }
    const char* bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    while (written < count) {
        ssize_t accepted = write(fd, bytes + written, count - written);
        if (accepted > 0) {
            written += static_cast<std::size_t>(accepted);
        } else if (accepted == 0 || errno != EINTR) {
            break;
        }
    }
    return written;
}

bool CloseFile(FileHandle file) {
    int fd = Descriptor(file);
    if (fd < 0) {
        return false;
    }
    // Linux frees the descriptor even when close reports an error, so the slot is freed either way.
    open_files[file - 1] = -1;
    const bool closed = close(fd) == 0;
    if (closes_before_failure >= 0 && closes_before_failure-- == 0) return false;
    return closed;
}

void CloseAllFiles() {
    for (int fd : open_files) {
        if (fd >= 0) {
            close(fd);
        }
    }
    open_files.clear();
}

}  // namespace plat

namespace plat::posix {

void FailCloseAfter(int after) { closes_before_failure = after; }

}  // namespace plat::posix
