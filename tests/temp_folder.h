// A fresh folder under the system's temporary folder, removed with all it holds at the end, and made the
// process's current directory meanwhile (the installer's default destination is where it starts).
#pragma once

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending with "/".
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_directory_;
};

// Reads a whole file; "" when it cannot be read.
std::string ReadFile(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
bool Exists(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> Names(const std::string& folder);
