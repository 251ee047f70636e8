// The file-system half of our platform layer. Paths are 8-bit (UTF-8) strings with backslashes as
// separators, as the core builds them; a backend translates them to its own form. Every operation that
// can fail says so in its result.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace plat {

struct FolderEntry {
    std::string name;
    bool is_folder;
};

// The process's current directory, ending with a separator.
std::string CurrentDirectory();

// Lists the entries of `folder` that match `pattern` ("*.*" for all, the one pattern the core uses;
// others match as the platform's own wildcards do), in the file system's own order,
// leaving out "." and "..". A separator is put between folder and pattern when the folder does not end
// with one (nothing when it is empty). Returns false when the folder cannot be listed: missing, not a
// folder, or access refused. An empty folder is an empty list, not a failure.
bool ListFolder(const std::string& folder, const std::string& pattern,
                std::vector<FolderEntry>* entries);

// Deletes everything in `folder` and the folder itself. Files that cannot be deleted are passed over;
// read-only files are not forced. A link, found inside or given as `folder`, is removed itself and never
// followed. Returns true only if `folder` is gone at the end; false for a missing folder or a file.
bool RemoveFolderTree(const std::string& folder);

// Creates one folder whose parent exists. Blanks, "/" and "\" at the end of the path are cut off first.
// Fails when an entry of that name exists or the folder cannot be made.
bool CreateFolder(const std::string& path);

bool SetCurrentDirectory(const std::string& path);

// An open file; 0 is no file.
using FileHandle = int;

// Creates `name` (relative to the current directory) for writing, or empties the existing file of that
// name. Where the platform can enforce it, others may read it while it is open but not write or delete
// it. Returns 0 on failure.
FileHandle CreateFile(const std::string& name);

// Writes `count` bytes at the file's position; returns how many bytes the file system accepted.
std::size_t WriteFile(FileHandle file, const void* data, std::size_t count);

// Closes the file. Returns false when the file system refused data on the way out.
bool CloseFile(FileHandle file);

// Closes every file the core left open.
void CloseAllFiles();

}  // namespace plat
