#include "tests/temp_folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempFolder::TempFolder() {
    char here[4096];
    if (getcwd(here, sizeof here) == nullptr) throw std::runtime_error("getcwd");
    previous_directory_ = here;
    char pattern[] = "/tmp/kestrowin-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = std::string(pattern) + "/";
    if (chdir(path_.c_str()) != 0) throw std::runtime_error("chdir");
}

TempFolder::~TempFolder() {
    if (chdir(previous_directory_.c_str()) != 0) return;
    const std::string command = "rm -rf '" + path_ + "'";
    if (std::system(command.c_str()) != 0) return;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

void WriteTextFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}
