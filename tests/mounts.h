// Real file-system faults for the tests: a small tmpfs for a full disk and read-only bind mounts for
// refused access (root ignores file permissions). Both need root; tests skip without it.
#pragma once

#include <string>

bool RunningAsRoot();

class Mount {
public:
    // A tmpfs of `size` (as mount's size option: "64k", "2m") at `folder`, which must exist.
    static Mount Tmpfs(const std::string& folder, const std::string& size);
    // `folder` itself, made read-only.
    static Mount ReadOnly(const std::string& folder);

    Mount(Mount&& other) noexcept;
    ~Mount();
    bool ok() const { return !folder_.empty(); }
    // Gives a tmpfs a new size.
    bool Resize(const std::string& size);

private:
    explicit Mount(std::string folder) : folder_(std::move(folder)) {}
    std::string folder_;
};
