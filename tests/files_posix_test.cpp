// The POSIX file layer on real temporary folders, with the faults the installation engine must survive:
// links inside a tree, an entry that cannot be removed, a full disk and a file size limit.

#include "platform/files.h"
#include "tests/mounts.h"
#include "tests/temp_folder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;

// The core's form of a path: backslashes throughout.
std::string WindowsPath(const fs::path& path) {
    std::string text = path.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::map<std::string, bool> EntryMap(const std::vector<plat::FolderEntry>& entries) {
    std::map<std::string, bool> map;
    for (const plat::FolderEntry& entry : entries) {
        EXPECT_TRUE(map.emplace(entry.name, entry.is_folder).second) << "listed twice: " << entry.name;
    }
    return map;
}

std::set<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names = Names(folder.string());
    return std::set<std::string>(names.begin(), names.end());
}

std::string ReadText(const fs::path& path) { return ReadFile(path.string()); }

void WriteText(const fs::path& path, const std::string& text) { WriteTextFile(path.string(), text); }

std::size_t OpenDescriptorCount() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// Every test gets a fresh folder and leaves no file open.
class FilesTest : public ::testing::Test {
protected:
    void TearDown() override { plat::CloseAllFiles(); }

    TempFolder here_;
    // Without the trailing separator, so that joined paths and expected texts come out as written.
    const fs::path root_ = fs::path(here_.path()).parent_path();
};

TEST_F(FilesTest, ListFolderReportsEveryEntryAndWhetherItIsAFolder) {
    WriteText(root_ / "a.txt", "a");
    WriteText(root_ / "noext", "n");
    WriteText(root_ / ".hidden", "h");
    fs::create_directory(root_ / "sub");
    fs::create_directory(root_ / "sub" / "inner");
    fs::create_directory_symlink(root_ / "sub", root_ / "to_sub");
    fs::create_directory_symlink("sub/inner", root_ / "to_inner_relative");
    fs::create_symlink(root_ / "a.txt", root_ / "to_file");
    fs::create_symlink(root_ / "missing", root_ / "dangling");

    std::vector<plat::FolderEntry> entries = {{"stale", true}};
    ASSERT_TRUE(plat::ListFolder(root_.string(), "*.*", &entries));

    std::map<std::string, bool> expected = {
        {"a.txt", false},  {"noext", false},           {".hidden", false}, {"sub", true},
        {"to_sub", true},  {"to_inner_relative", true}, {"to_file", false}, {"dangling", false}};
    EXPECT_EQ(EntryMap(entries), expected);
}

TEST_F(FilesTest, ListFolderKeepsOnlyNamesMatchingThePattern) {
    for (const char* name : {"a.txt", "b.txt", "noext", "c.bin"}) {
        WriteText(root_ / name, name);
    }
    fs::create_directory(root_ / "dir.txt");

    struct Case {
        const char* pattern;
        std::set<std::string> names;
    };
    const Case cases[] = {
        {"*.*", {"a.txt", "b.txt", "noext", "c.bin", "dir.txt"}},
        {"*", {"a.txt", "b.txt", "noext", "c.bin", "dir.txt"}},
        {"*.txt", {"a.txt", "b.txt", "dir.txt"}},
        {"a.*", {"a.txt"}},
        {"?oext", {"noext"}},
        {"nothing*", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        std::vector<plat::FolderEntry> entries;
        ASSERT_TRUE(plat::ListFolder(root_.string(), c.pattern, &entries));
        std::set<std::string> names;
        for (const plat::FolderEntry& entry : entries) {
            names.insert(entry.name);
        }
        EXPECT_EQ(names, c.names);
    }
}

TEST_F(FilesTest, ListFolderTakesTheFolderWithOrWithoutSeparatorInEitherForm) {
    fs::create_directory(root_ / "game");
    WriteText(root_ / "game" / "x.bin", "x");
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));

    const std::string folders[] = {
        (root_ / "game").string(),        (root_ / "game").string() + "/",
        WindowsPath(root_ / "game"),      WindowsPath(root_ / "game") + "\\",
        "game",                           "game\\",
        WindowsPath(root_) + "\\game\\..\\game\\",
    };
    for (const std::string& folder : folders) {
        SCOPED_TRACE(folder);
        std::vector<plat::FolderEntry> entries;
        ASSERT_TRUE(plat::ListFolder(folder, "*.*", &entries));
        EXPECT_EQ(EntryMap(entries), (std::map<std::string, bool>{{"x.bin", false}}));
    }
}

TEST_F(FilesTest, ListFolderOfAnEmptyFolderNamesTheCurrentDirectory) {
    WriteText(root_ / "here.txt", "h");
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));

    std::vector<plat::FolderEntry> entries;
    ASSERT_TRUE(plat::ListFolder("", "*.*", &entries));
    EXPECT_EQ(EntryMap(entries), (std::map<std::string, bool>{{"here.txt", false}}));
}

TEST_F(FilesTest, ListFolderOfAnEmptyFolderIsAnEmptyList) {
    fs::create_directory(root_ / "empty");

    std::vector<plat::FolderEntry> entries = {{"stale", false}};
    EXPECT_TRUE(plat::ListFolder((root_ / "empty").string(), "*.*", &entries));
    EXPECT_TRUE(entries.empty());
}

TEST_F(FilesTest, ListFolderFailsOnWhatIsNoFolder) {
    WriteText(root_ / "file.txt", "f");
    fs::create_symlink(root_ / "file.txt", root_ / "link_to_file");
    fs::create_symlink(root_ / "gone", root_ / "dangling");

    const fs::path folders[] = {root_ / "missing", root_ / "missing" / "deeper", root_ / "file.txt",
                                root_ / "link_to_file", root_ / "dangling"};
    for (const fs::path& folder : folders) {
        SCOPED_TRACE(folder);
        std::vector<plat::FolderEntry> entries;
        EXPECT_FALSE(plat::ListFolder(folder.string(), "*.*", &entries));
        EXPECT_FALSE(plat::ListFolder(WindowsPath(folder) + "\\", "*.*", &entries));
    }
}

TEST_F(FilesTest, RemoveFolderTreeRemovesFilesAndNestedFoldersAndNothingBeside) {
    const fs::path game = root_ / "Kestrowin";
    fs::create_directories(game / "b" / "d" / "e");
    fs::create_directory(game / "empty");
    WriteText(game / "a.bin", std::string(10000, 'a'));
    WriteText(game / "b" / "c.txt", "c");
    WriteText(game / "b" / "d" / "e" / "f.txt", "f");
    WriteText(game / ".hidden", "h");
    WriteText(root_ / "beside.txt", "keep");
    fs::create_directory(root_ / "Kestrowin2");
    WriteText(root_ / "Kestrowin2" / "keep.txt", "keep");

    // The core names the folder with a trailing backslash.
    EXPECT_TRUE(plat::RemoveFolderTree(WindowsPath(game) + "\\"));

    EXPECT_FALSE(fs::exists(fs::symlink_status(game)));
    EXPECT_EQ(NamesIn(root_), (std::set<std::string>{"beside.txt", "Kestrowin2"}));
    EXPECT_EQ(ReadText(root_ / "Kestrowin2" / "keep.txt"), "keep");
}

TEST_F(FilesTest, RemoveFolderTreeRemovesLinksAndLeavesTheirTargets) {
    const fs::path outside = root_ / "outside";
    fs::create_directories(outside / "inner");
    WriteText(outside / "precious.txt", "precious");
    WriteText(outside / "inner" / "deep.txt", "deep");
    WriteText(root_ / "outside_file.txt", "single");

    const fs::path game = root_ / "game";
    fs::create_directories(game / "b");
    fs::create_directory_symlink(outside, game / "folder_link");
    fs::create_directory_symlink("../../outside", game / "b" / "relative_folder_link");
    fs::create_symlink(root_ / "outside_file.txt", game / "b" / "file_link");
    fs::create_symlink(root_ / "nowhere", game / "dangling_link");

    EXPECT_TRUE(plat::RemoveFolderTree(game.string()));

    EXPECT_FALSE(fs::exists(fs::symlink_status(game)));
    EXPECT_EQ(ReadText(outside / "precious.txt"), "precious");
    EXPECT_EQ(ReadText(outside / "inner" / "deep.txt"), "deep");
    EXPECT_EQ(ReadText(root_ / "outside_file.txt"), "single");
}

TEST_F(FilesTest, RemoveFolderTreeGivenALinkRemovesTheLinkAndLeavesItsTarget) {
    fs::create_directory(root_ / "target");
    WriteText(root_ / "target" / "precious.txt", "precious");

    for (const std::string& link : {(root_ / "link").string(), WindowsPath(root_ / "link") + "\\"}) {
        SCOPED_TRACE(link);
        fs::create_directory_symlink(root_ / "target", root_ / "link");
        EXPECT_TRUE(plat::RemoveFolderTree(link));
        EXPECT_FALSE(fs::exists(fs::symlink_status(root_ / "link")));
        EXPECT_EQ(ReadText(root_ / "target" / "precious.txt"), "precious");
    }
}

TEST_F(FilesTest, RemoveFolderTreeFailsOnWhatIsNoFolder) {
    WriteText(root_ / "file.txt", "keep");

    EXPECT_FALSE(plat::RemoveFolderTree((root_ / "missing").string()));
    EXPECT_FALSE(plat::RemoveFolderTree((root_ / "file.txt").string()));
    EXPECT_EQ(ReadText(root_ / "file.txt"), "keep");
}

TEST_F(FilesTest, RemoveFolderTreeRemovesWhatItCanAroundAnEntryThatCannotBeRemoved) {
    if (!RunningAsRoot()) {
        GTEST_SKIP() << "needs root for a mount, since root ignores file permissions";
    }
    const fs::path game = root_ / "game";
    fs::create_directories(game / "b");
    fs::create_directories(game / "locked" / "deeper");
    fs::create_directories(game / "z" / "y");
    WriteText(game / "a.txt", "a");
    WriteText(game / "b" / "c.txt", "c");
    WriteText(game / "locked" / "d.txt", "d");
    WriteText(game / "locked" / "deeper" / "e.txt", "e");
    WriteText(game / "z" / "y" / "x.txt", "x");
    Mount locked = Mount::ReadOnly((game / "locked").string());
    ASSERT_TRUE(locked.ok()) << std::strerror(errno);

    EXPECT_FALSE(plat::RemoveFolderTree(game.string()));

    EXPECT_EQ(NamesIn(game), (std::set<std::string>{"locked"}));
    EXPECT_EQ(ReadText(game / "locked" / "d.txt"), "d");
    EXPECT_EQ(ReadText(game / "locked" / "deeper" / "e.txt"), "e");
}

TEST_F(FilesTest, CreateFolderCutsTrailingBlanksAndSeparators) {
    const std::string endings[] = {"", " ", "   ", "/", "\\", "//", "\\\\", " \\ / ", "\\ "};
    std::set<std::string> expected;
    for (std::size_t i = 0; i < std::size(endings); ++i) {
        const std::string name = "made" + std::to_string(i);
        SCOPED_TRACE("\"" + name + endings[i] + "\"");
        EXPECT_TRUE(plat::CreateFolder(WindowsPath(root_ / name) + endings[i]));
        EXPECT_TRUE(fs::is_directory(root_ / name));
        expected.insert(name);
    }
    EXPECT_EQ(NamesIn(root_), expected);
}

TEST_F(FilesTest, CreateFolderFailsWhenTheNameIsTakenOrTheParentIsMissing) {
    fs::create_directory(root_ / "folder");
    WriteText(root_ / "folder" / "inside.txt", "inside");
    WriteText(root_ / "file", "file");
    fs::create_symlink(root_ / "folder", root_ / "link");
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));

    const std::string paths[] = {
        (root_ / "folder").string(), WindowsPath(root_ / "folder") + "\\",
        (root_ / "file").string(),   WindowsPath(root_ / "file") + " ",
        (root_ / "link").string(),   (root_ / "missing" / "child").string(),
        "   ",                       " \\/",
    };
    for (const std::string& path : paths) {
        SCOPED_TRACE("\"" + path + "\"");
        EXPECT_FALSE(plat::CreateFolder(path));
    }
    EXPECT_EQ(NamesIn(root_), (std::set<std::string>{"folder", "file", "link"}));
    EXPECT_EQ(ReadText(root_ / "folder" / "inside.txt"), "inside");
    EXPECT_EQ(ReadText(root_ / "file"), "file");
}

TEST_F(FilesTest, CurrentDirectoryEndsWithOneSeparator) {
    fs::create_directories(root_ / "a" / "b");

    struct Case {
        std::string set_to;
        std::string expected;
    };
    const Case cases[] = {
        {WindowsPath(root_ / "a" / "b"), (root_ / "a" / "b").string() + "/"},
        {"..\\", (root_ / "a").string() + "/"},
        {"b", (root_ / "a" / "b").string() + "/"},
        {"\\", "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set_to);
        ASSERT_TRUE(plat::SetCurrentDirectory(c.set_to));
        EXPECT_EQ(plat::CurrentDirectory(), c.expected);
    }
}

TEST_F(FilesTest, SetCurrentDirectoryFailsOnWhatIsNoFolderAndStaysPut) {
    WriteText(root_ / "file.txt", "f");
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));

    for (const std::string& path : {(root_ / "missing").string(), (root_ / "file.txt").string(),
                                    std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(plat::SetCurrentDirectory(path));
        EXPECT_EQ(plat::CurrentDirectory(), root_.string() + "/");
    }
}

TEST_F(FilesTest, FileIsWrittenWholeUnderItsNameInTheCurrentDirectory) {
    std::string data(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>(i * 7 + i / 251);
    }
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));

    plat::FileHandle file = plat::CreateFile("Engine3D.dll");
    ASSERT_NE(file, 0);
    EXPECT_EQ(plat::WriteFile(file, data.data(), data.size()), data.size());
    EXPECT_TRUE(plat::CloseFile(file));

    EXPECT_TRUE(ReadText(root_ / "Engine3D.dll") == data);
}

TEST_F(FilesTest, CreateFileEmptiesAnExistingFileAndNeverAppends) {
    WriteText(root_ / "Assets.zip", std::string(5000, 'o'));
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));

    plat::FileHandle file = plat::CreateFile("Assets.zip");
    ASSERT_NE(file, 0);
    EXPECT_EQ(fs::file_size(root_ / "Assets.zip"), 0u);
    EXPECT_EQ(plat::WriteFile(file, "new", 3), 3u);
    EXPECT_TRUE(plat::CloseFile(file));

    EXPECT_EQ(ReadText(root_ / "Assets.zip"), "new");
}

// With fs.protected_regular, O_CREAT is refused even to root on a file of another owner in a sticky
// folder that is open to all; opening it without O_CREAT is allowed, so the file can still be emptied.
TEST_F(FilesTest, CreateFileEmptiesAFileThatOnlyOpensWithoutCreation) {
    if (!RunningAsRoot()) {
        GTEST_SKIP() << "needs root to give a file to another owner";
    }
    std::ifstream setting("/proc/sys/fs/protected_regular");
    int protected_regular = 0;
    if (!(setting >> protected_regular) || protected_regular == 0) {
        GTEST_SKIP() << "fs.protected_regular is off here, so creation is never refused on an "
                        "existing file";
    }
    const fs::path sticky = root_ / "sticky";
    fs::create_directory(sticky);
    ASSERT_EQ(chmod(sticky.c_str(), 01777), 0) << std::strerror(errno);
    WriteText(sticky / "other.txt", std::string(300, 'o'));
    ASSERT_EQ(chown((sticky / "other.txt").c_str(), 54321, 54321), 0) << std::strerror(errno);
    ASSERT_TRUE(plat::SetCurrentDirectory(sticky.string()));

    plat::FileHandle file = plat::CreateFile("other.txt");
    ASSERT_NE(file, 0);
    EXPECT_EQ(plat::WriteFile(file, "mine", 4), 4u);
    EXPECT_TRUE(plat::CloseFile(file));

    EXPECT_EQ(ReadText(sticky / "other.txt"), "mine");
}

TEST_F(FilesTest, CreateFileFailsWhereNoFileCanBeMade) {
    fs::create_directory(root_ / "folder");
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));

    for (const char* name : {"missing\\x.bin", "folder", "folder\\", ""}) {
        SCOPED_TRACE(std::string("\"") + name + "\"");
        EXPECT_EQ(plat::CreateFile(name), 0);
    }
    EXPECT_EQ(NamesIn(root_), (std::set<std::string>{"folder"}));
}

TEST_F(FilesTest, ReadOnlyFolderRefusesNewFilesAndFolders) {
    if (!RunningAsRoot()) {
        GTEST_SKIP() << "needs root for a mount, since root ignores file permissions";
    }
    const fs::path locked = root_ / "locked";
    fs::create_directory(locked);
    WriteText(locked / "old.txt", "old");
    Mount read_only = Mount::ReadOnly(locked.string());
    ASSERT_TRUE(read_only.ok()) << std::strerror(errno);
    ASSERT_TRUE(plat::SetCurrentDirectory(locked.string()));

    EXPECT_EQ(plat::CreateFile("new.bin"), 0);
    EXPECT_EQ(plat::CreateFile("old.txt"), 0);
    EXPECT_FALSE(plat::CreateFolder(WindowsPath(locked / "Kestrowin")));

    EXPECT_EQ(NamesIn(locked), (std::set<std::string>{"old.txt"}));
    EXPECT_EQ(ReadText(locked / "old.txt"), "old");
}

TEST_F(FilesTest, WriteFileOnAFullDiskReturnsTheShortCount) {
    if (!RunningAsRoot()) {
        GTEST_SKIP() << "needs root for a mount, since root ignores file permissions";
    }
    const fs::path disk = root_ / "disk";
    fs::create_directory(disk);
    Mount full = Mount::Tmpfs(disk.string(), "64k");
    ASSERT_TRUE(full.ok()) << std::strerror(errno);
    ASSERT_TRUE(plat::SetCurrentDirectory(disk.string()));
    const std::string data(std::size_t{256} * 1024, 'z');

    plat::FileHandle file = plat::CreateFile("PlayKestrowin.exe");
    ASSERT_NE(file, 0);
    std::size_t accepted = plat::WriteFile(file, data.data(), data.size());
    EXPECT_GT(accepted, 0u);
    EXPECT_LT(accepted, data.size());
    EXPECT_EQ(plat::WriteFile(file, data.data(), 1), 0u);
    EXPECT_TRUE(plat::CloseFile(file));

    EXPECT_EQ(fs::file_size(disk / "PlayKestrowin.exe"), accepted);
}

// The limit is set in a child process, so it cannot reach the other tests; the child reports its counts
// through a pipe and dies of SIGXFSZ if the file layer lets that signal through.
TEST_F(FilesTest, WriteFilePastTheFileSizeLimitReturnsTheShortCount) {
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));
    int report[2];
    ASSERT_EQ(pipe(report), 0) << std::strerror(errno);

    pid_t child = fork();
    ASSERT_NE(child, -1) << std::strerror(errno);
    if (child == 0) {
        close(report[0]);
        rlimit limit;
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1000;
        std::size_t counts[2] = {};
        if (setrlimit(RLIMIT_FSIZE, &limit) == 0) {
            const std::string data(4000, 'q');
            plat::FileHandle file = plat::CreateFile("Assets.zip");
            counts[0] = plat::WriteFile(file, data.data(), data.size());
            counts[1] = plat::WriteFile(file, data.data(), 1);
            plat::CloseFile(file);
        }
        _exit(write(report[1], counts, sizeof counts) == sizeof counts ? 0 : 1);
    }
    close(report[1]);
    std::size_t counts[2] = {~std::size_t{0}, ~std::size_t{0}};
    ssize_t got = read(report[0], counts, sizeof counts);
    close(report[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    ASSERT_TRUE(WIFEXITED(status)) << "the child died of signal " << WTERMSIG(status);
    ASSERT_EQ(got, static_cast<ssize_t>(sizeof counts));
    EXPECT_EQ(counts[0], 1000u);
    EXPECT_EQ(counts[1], 0u);
    EXPECT_EQ(fs::file_size(root_ / "Assets.zip"), 1000u);
}

TEST_F(FilesTest, HandlesThatNameNoOpenFileAreRefused) {
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));
    plat::FileHandle closed = plat::CreateFile("closed.txt");
    ASSERT_NE(closed, 0);
    ASSERT_TRUE(plat::CloseFile(closed));

    for (plat::FileHandle file : {closed, 0, -1, 4096}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(plat::WriteFile(file, "x", 1), 0u);
        EXPECT_FALSE(plat::CloseFile(file));
    }
    EXPECT_EQ(fs::file_size(root_ / "closed.txt"), 0u);
}

TEST_F(FilesTest, OpenFilesHaveTheirOwnHandles) {
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));
    plat::FileHandle first = plat::CreateFile("first.txt");
    plat::FileHandle second = plat::CreateFile("second.txt");
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_NE(first, second);
    ASSERT_TRUE(plat::CloseFile(first));
    plat::FileHandle third = plat::CreateFile("third.txt");
    ASSERT_NE(third, 0);

    EXPECT_EQ(plat::WriteFile(second, "2", 1), 1u);
    EXPECT_EQ(plat::WriteFile(third, "33", 2), 2u);
    EXPECT_TRUE(plat::CloseFile(second));
    EXPECT_TRUE(plat::CloseFile(third));

    EXPECT_EQ(ReadText(root_ / "first.txt"), "");
    EXPECT_EQ(ReadText(root_ / "second.txt"), "2");
    EXPECT_EQ(ReadText(root_ / "third.txt"), "33");
}

TEST_F(FilesTest, CloseAllFilesReleasesEveryDescriptor) {
    ASSERT_TRUE(plat::SetCurrentDirectory(root_.string()));
    const std::size_t before = OpenDescriptorCount();
    std::vector<plat::FileHandle> files;
    for (const char* name : {"one.txt", "two.txt", "three.txt"}) {
        files.push_back(plat::CreateFile(name));
        ASSERT_NE(files.back(), 0);
        EXPECT_EQ(plat::WriteFile(files.back(), name, 3), 3u);
    }
    ASSERT_EQ(OpenDescriptorCount(), before + 3);

    plat::CloseAllFiles();

    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ReadText(root_ / "two.txt"), "two");
    // The descriptor numbers are free again; a handle from before must not reach the file that now has one.
    plat::FileHandle after = plat::CreateFile("after.txt");
    ASSERT_NE(after, 0);
    for (plat::FileHandle file : files) {
        if (file != after) {
            EXPECT_FALSE(plat::CloseFile(file));
        }
    }
    EXPECT_EQ(plat::WriteFile(after, "after", 5), 5u);
    EXPECT_TRUE(plat::CloseFile(after));
    EXPECT_EQ(ReadText(root_ / "after.txt"), "after");
}

// The core builds every path with backslashes; each operation must read them as separators.
TEST_F(FilesTest, BackslashesSeparateFoldersInEveryOperation) {
    const std::string base = WindowsPath(root_);

    ASSERT_TRUE(plat::CreateFolder(base + "\\a"));
    ASSERT_TRUE(plat::CreateFolder(base + "\\a\\b\\"));
    ASSERT_TRUE(plat::SetCurrentDirectory(base + "\\a\\b"));
    plat::FileHandle file = plat::CreateFile("..\\f.txt");
    ASSERT_NE(file, 0);
    EXPECT_EQ(plat::WriteFile(file, "f", 1), 1u);
    EXPECT_TRUE(plat::CloseFile(file));
    EXPECT_EQ(ReadText(root_ / "a" / "f.txt"), "f");

    std::vector<plat::FolderEntry> entries;
    ASSERT_TRUE(plat::ListFolder(base + "\\a", "*.*", &entries));
    EXPECT_EQ(EntryMap(entries), (std::map<std::string, bool>{{"b", true}, {"f.txt", false}}));
    ASSERT_TRUE(plat::ListFolder(base, "a\\b\\*.*", &entries));
    EXPECT_TRUE(entries.empty());

    ASSERT_TRUE(plat::SetCurrentDirectory(base));
    EXPECT_TRUE(plat::RemoveFolderTree(base + "\\a\\"));
    EXPECT_TRUE(NamesIn(root_).empty());
}

}  // namespace
