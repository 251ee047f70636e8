#include "tests/mounts.h"

#include <sys/mount.h>
#include <unistd.h>

bool RunningAsRoot() { return geteuid() == 0; }

Mount Mount::Tmpfs(const std::string& folder, const std::string& size) {
    const std::string options = "size=" + size;
    if (mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0) return Mount("");
    return Mount(folder);
}

Mount Mount::ReadOnly(const std::string& folder) {
    if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return Mount("");
    Mount bound(folder);
    if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) return Mount("");
    return bound;
}

Mount::Mount(Mount&& other) noexcept : folder_(std::move(other.folder_)) { other.folder_.clear(); }

Mount::~Mount() {
    if (!folder_.empty()) umount2(folder_.c_str(), MNT_DETACH);
}

bool Mount::Resize(const std::string& size) {
    const std::string options = "size=" + size;
    return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT, options.c_str()) == 0;
}
