// The installation on real folders: the success path, earlier game folders, and real faults (a full
// tmpfs, a read-only mount, a file-size limit, links, things in the way).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/shared_state.h"
#include "assets/payload_table.h"
#include "install/failure_texts.h"
#include "install/run_install.h"
#include "platform/posix/posix_faults.h"
#include "screens/controls.h"
#include "screens/frame.h"
#include "screens/screens.h"
#include "tests/harness.h"
#include "tests/mounts.h"
#include "tests/temp_folder.h"

namespace {

const std::vector<std::string> kFileNames = {"PlayKestrowin.exe", "Engine3D.dll", "Assets.zip",
                                             "TroubleShooting_Guide.txt", "OgreMITLicense.txt"};

std::string PayloadSource(const std::string& name) { return std::string(KW_PAYLOAD_DIR) + "/" + name; }

std::string CurrentDirectory() {
    char here[4096];
    return getcwd(here, sizeof here) ? std::string(here) + "/" : std::string();
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetInstaller();
        LineBreak = "\n\r";
        LoadScreenAssets();
        DefaultLocation = here_.path();
        destination_ = here_.path() + "dest/";
        mkdir(destination_.c_str(), 0755);
    }

    // Runs the installation as step 4 does, from a freshly built extraction screen.
    void Install(const std::string& location) {
        WizardStep = 4;
        LeaveStep = 0;
        InstallLocation = location;
        ASSERT_EQ(BuildExtractionScreen(), 0);
        StepFailed = 0;
        RunInstall();
    }

    // Expects the error window with `text`, OK pressed, and the wizard sent back to step 2.
    void ExpectReported(const std::string& text) {
        EXPECT_EQ(ErrorText, text);
        EXPECT_EQ(StepFailed, 1);
        EXPECT_EQ(WizardStep, 2);
        EXPECT_EQ(LeaveStep, 1);
        EXPECT_EQ(headless::WindowIn(StepWindow), nullptr) << "the error window is closed after OK";
    }

    // A script that checks the error window shows `text`, then presses OK.
    static void ScriptOk(const std::string& text) {
        headless::Script({headless::Check([text] {
                              ASSERT_NE(headless::WindowIn(StepWindow), nullptr);
                              EXPECT_EQ(headless::WindowIn(StepWindow)->caption, "Error ...");
                              EXPECT_EQ(TextOf(kErrorLabel), text);
                          }),
                          headless::Click(kErrorOkButton)});
    }

    void ExpectInstalled(const std::string& game_folder) {
        EXPECT_EQ(StepFailed, 0);
        EXPECT_EQ(WizardStep, 4);
        std::vector<std::string> sorted = kFileNames;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(Names(game_folder), sorted);
        for (const std::string& name : kFileNames) {
            const std::string written = ReadFile(game_folder + name);
            EXPECT_FALSE(written.empty()) << name;
            EXPECT_TRUE(written == ReadFile(PayloadSource(name))) << name << " differs from its payload";
        }
    }

    // The status texts, pauses and progress values the installation showed, in order.
    static std::vector<std::string> Progress() {
        std::vector<std::string> seen;
        for (const std::string& entry : headless::Timeline()) {
            if (entry.rfind("text 5 ", 0) == 0 || entry.rfind("pause ", 0) == 0 || entry.rfind("progress 10 ", 0) == 0) {
                seen.push_back(entry);
            }
        }
        return seen;
    }

    TempFolder here_;
    std::string destination_;
};

TEST_F(InstallTest, WritesTheFiveFilesWithEveryStatusInOrder) {
    Install(destination_);
    ExpectInstalled(destination_ + "Kestrowin/");
    EXPECT_EQ(CurrentDirectory(), destination_ + "Kestrowin/") << "the game folder stays the current directory";

    std::vector<std::string> expected = {"progress 10 1", "text 5 Status: Checking destination folder ...", "pause 10",
                                         "text 5 Status: Creating folder 'Kestrowin'", "pause 10",
                                         "text 5 Status: Directory ' Kestrowin' created succesfully ...", "pause 10",
                                         "text 5 Status: Extracting game files ...", "pause 10"};
    const PayloadEntry* table = PayloadTable();
    for (int i = 0; i < kPayloadCount; ++i) {
        expected.insert(expected.end(), {std::string("text 5 ") + table[i].status_text, "pause 10",
                                         "text 5 Status: Verifying file ...", "pause 10",
                                         "text 5 Status: Verified Ok ...", "pause 10",
                                         "progress 10 " + std::to_string(table[i].progress_value)});
    }
    EXPECT_EQ(Progress(), expected);
    EXPECT_EQ(TextOf(kStatusLabel), "Status: Verified Ok ...");
    EXPECT_EQ(headless::FindControl(kProgressBar)->value, 100);
}

TEST_F(InstallTest, PayloadTableNamesTheFilesInWritingOrder) {
    const PayloadEntry* table = PayloadTable();
    const std::vector<std::string> statuses = {
        "Status: Extracting PlayKestrowin.exe", "Status: Extracting Engine3D.dll", "Status: Extracting Assets.zip",
        "Status: TroubleShooting_Guide.txt", "Status: OgreMITLicense.txt"};
    for (int i = 0; i < kPayloadCount; ++i) {
        EXPECT_EQ(table[i].file_name, kFileNames[i]);
        EXPECT_EQ(table[i].status_text, statuses[i]);
        EXPECT_EQ(table[i].progress_value, 20 * (i + 1));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(table[i].data.begin), table[i].data.size()),
                  ReadFile(PayloadSource(kFileNames[i])))
            << "the embedded bytes are the file, nothing before or after";
    }
}

TEST_F(InstallTest, AnEarlierGameFolderIsRemovedWholeFirst) {
    const std::string old = destination_ + "Kestrowin/";
    mkdir(old.c_str(), 0755);
    mkdir((old + "saves").c_str(), 0755);
    mkdir((old + "saves/deeper").c_str(), 0755);
    WriteTextFile(old + "saves/deeper/slot1.sav", "old game");
    WriteTextFile(old + "Assets.zip", std::string(100000, 'z'));
    WriteTextFile(old + "notes.txt", "not part of the game");
    Install(destination_);
    ExpectInstalled(old);
}

TEST_F(InstallTest, AFolderWhoseNameDiffersOnlyInCaseIsLeftAlone) {
    const std::string other = destination_ + "kestrowin/";
    mkdir(other.c_str(), 0755);
    WriteTextFile(other + "keep.txt", "someone else's");
    Install(destination_);
    ExpectInstalled(destination_ + "Kestrowin/");
    EXPECT_EQ(ReadFile(other + "keep.txt"), "someone else's");
}

TEST_F(InstallTest, ADestinationWithoutATrailingSeparatorIsTheFolderItself) {
    for (const std::string& typed : {destination_.substr(0, destination_.size() - 1),
                                     destination_.substr(0, destination_.size() - 1) + "\\"}) {
        ResetInstaller();
        LineBreak = "\n\r";
        LoadScreenAssets();
        Install(typed);
        ExpectInstalled(destination_ + "Kestrowin/");
        EXPECT_FALSE(Exists(here_.path() + "destKestrowin")) << "nothing is made beside the destination";
    }
}

TEST_F(InstallTest, ADestinationThatCannotBeListedIsReported) {
    WriteTextFile(here_.path() + "a-file", "x");
    for (const std::string& location : {here_.path() + "gone/", here_.path() + "a-file", std::string()}) {
        ScriptOk(LocateFailureText());
        Install(location);
        ExpectReported(LocateFailureText());
    }
    EXPECT_EQ(Names(here_.path()), (std::vector<std::string>{"a-file", "dest"}));
    EXPECT_TRUE(Names(destination_).empty());
}

TEST_F(InstallTest, AFileNamedLikeTheGameFolderIsNotRemovedAndCreationFails) {
    WriteTextFile(destination_ + "Kestrowin", "in the way");
    ScriptOk(CreateFailureText());
    Install(destination_);
    ExpectReported(CreateFailureText());
    EXPECT_EQ(ReadFile(destination_ + "Kestrowin"), "in the way");
}

TEST_F(InstallTest, AReadOnlyDestinationIsReportedAsACreationFailure) {
    if (!RunningAsRoot()) GTEST_SKIP() << "a read-only mount needs root";
    Mount read_only = Mount::ReadOnly(destination_);
    ASSERT_TRUE(read_only.ok());
    ScriptOk(CreateFailureText());
    Install(destination_);
    ExpectReported(CreateFailureText());
}

TEST_F(InstallTest, AFullDiskLeavesThePartlyFilledFolderUntilARetryRemovesIt) {
    if (!RunningAsRoot()) GTEST_SKIP() << "a tmpfs needs root";
    Mount disk = Mount::Tmpfs(destination_, "256k");
    ASSERT_TRUE(disk.ok());
    ScriptOk(SaveFailureText());
    Install(destination_);
    ExpectReported(SaveFailureText());
    const std::vector<std::string> left = Names(destination_ + "Kestrowin/");
    EXPECT_FALSE(left.empty()) << "nothing already written is deleted";
    EXPECT_LT(left.size(), kFileNames.size());
    EXPECT_EQ(CurrentDirectory(), destination_) << "the process steps out of the game folder";

    ASSERT_TRUE(disk.Resize("64m"));
    WriteTextFile(destination_ + "Kestrowin/stale.tmp", "from the failed attempt");
    Install(destination_);
    ExpectInstalled(destination_ + "Kestrowin/");
}

TEST_F(InstallTest, AShortWriteStopsAtThatFileAndKeepsWhatWasWritten) {
    const PayloadEntry* table = PayloadTable();
    const rlim_t limit = std::max(table[0].data.size(), table[1].data.size());
    ASSERT_LT(limit, table[2].data.size()) << "the limit must cut the third file short";
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous_handler = signal(SIGXFSZ, SIG_IGN);
    rlimit cut = saved;
    cut.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &cut), 0);
    ScriptOk(SaveFailureText());
    Install(destination_);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous_handler);

    ExpectReported(SaveFailureText());
    const std::string game = destination_ + "Kestrowin/";
    EXPECT_EQ(Names(game), (std::vector<std::string>{"Assets.zip", "Engine3D.dll", "PlayKestrowin.exe"}));
    EXPECT_EQ(ReadFile(game + "Engine3D.dll"), ReadFile(PayloadSource("Engine3D.dll")));
    EXPECT_EQ(ReadFile(game + "Assets.zip").size(), limit);
    // The error window replaced the screen; the last status and value are in the timeline.
    std::string last_status, last_progress;
    for (const std::string& entry : headless::Timeline()) {
        if (entry.rfind("text 5 ", 0) == 0) last_status = entry.substr(7);
        if (entry.rfind("progress 10 ", 0) == 0) last_progress = entry.substr(12);
    }
    EXPECT_EQ(last_status, "Status: Verifying file ...");
    EXPECT_EQ(last_progress, "40");
}

TEST_F(InstallTest, AFileWhoseCloseLosesDataIsNotTakenForWritten) {
    plat::posix::FailCloseAfter(3);
    ScriptOk(SaveFailureText());
    Install(destination_);
    plat::posix::FailCloseAfter(-1);
    ExpectReported(SaveFailureText());
    EXPECT_EQ(Names(destination_ + "Kestrowin/"),
              (std::vector<std::string>{"Assets.zip", "Engine3D.dll", "PlayKestrowin.exe", "TroubleShooting_Guide.txt"}));
    std::vector<std::string> statuses;
    for (const std::string& entry : headless::Timeline()) {
        if (entry.rfind("text 5 ", 0) == 0 || entry.rfind("progress 10 ", 0) == 0) statuses.push_back(entry);
    }
    ASSERT_GE(statuses.size(), 3u);
    EXPECT_EQ(statuses[statuses.size() - 3], "progress 10 60");
    EXPECT_EQ(statuses[statuses.size() - 2], "text 5 Status: TroubleShooting_Guide.txt");
    EXPECT_EQ(statuses.back(), "text 5 Status: Verifying file ...") << "never reported as verified";
}

TEST_F(InstallTest, ALinkInsideTheEarlierFolderIsRemovedWithoutTouchingItsTarget) {
    const std::string outside = here_.path() + "precious/";
    mkdir(outside.c_str(), 0755);
    WriteTextFile(outside + "family-photos.jpg", "irreplaceable");
    const std::string old = destination_ + "Kestrowin/";
    mkdir(old.c_str(), 0755);
    ASSERT_EQ(symlink(outside.c_str(), (old + "linked-folder").c_str()), 0);
    ASSERT_EQ(symlink((outside + "family-photos.jpg").c_str(), (old + "linked-file").c_str()), 0);
    Install(destination_);
    ExpectInstalled(old);
    EXPECT_EQ(ReadFile(outside + "family-photos.jpg"), "irreplaceable");
}

TEST_F(InstallTest, AnEarlierFolderThatCannotBeRemovedIsReportedOnce) {
    if (!RunningAsRoot()) GTEST_SKIP() << "a read-only mount needs root";
    const std::string locked = destination_ + "Kestrowin/locked/";
    mkdir((destination_ + "Kestrowin").c_str(), 0755);
    mkdir(locked.c_str(), 0755);
    WriteTextFile(locked + "in-use.dat", "held");
    Mount read_only = Mount::ReadOnly(locked);
    ASSERT_TRUE(read_only.ok());
    ScriptOk(RemoveFailureText());
    Install(destination_);
    ExpectReported(RemoveFailureText());
    EXPECT_EQ(ReadFile(locked + "in-use.dat"), "held");
    for (const std::string& entry : headless::Timeline()) {
        EXPECT_NE(entry, "text 5 Status: Creating folder 'Kestrowin'") << "nothing is created after a failed removal";
    }
}

}  // namespace
