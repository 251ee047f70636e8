// The installation's own work on the host: RunInstall on the headless window system and the POSIX file
// layer, whose pauses are recorded instead of slept, against a plain copy of the same five files (read
// from the payload folder, written in 256 KiB blocks) on the same file system. The two alternate round by
// round, so both see the same state of the machine; each round starts from a destination without the game
// folder, as a first installation does.
//
//   kw_install_bench FOLDER ROUNDS
//
// Prints "install <ms>...", "copy <ms>..." (one figure a round) and "pauses <count> <total ms>" as the
// last round recorded them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "install/run_install.h"
#include "platform/headless/headless.h"
#include "screens/screens.h"

namespace {

const char* const kFiles[] = {"PlayKestrowin.exe", "Engine3D.dll", "Assets.zip", "TroubleShooting_Guide.txt",
                              "OgreMITLicense.txt"};

double Milliseconds(std::chrono::steady_clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "kw_install_bench: %s\n", what.c_str());
    std::exit(1);
}

// One installation as step 4 runs it; the screen is built before the clock starts.
double TimeInstall(const std::string& destination, int* pauses, int* paused_ms) {
    std::filesystem::remove_all(destination + "Kestrowin");
    headless::Reset();
    ResetSharedState();
    LineBreak = "\n\r";
    InstallLocation = destination;
    WizardStep = kStepExtraction;
    if (BuildExtractionScreen() != 0) Fail("the extraction screen was not built");

    const auto start = std::chrono::steady_clock::now();
    RunInstall();
    const auto end = std::chrono::steady_clock::now();
    if (StepFailed != 0) Fail("the installation failed in " + destination);

    *pauses = 0;
    *paused_ms = 0;
    for (const std::string& entry : headless::Timeline()) {
        if (entry.rfind("pause ", 0) == 0) {
            ++*pauses;
            *paused_ms += std::atoi(entry.c_str() + 6);
        }
    }
    if (chdir(destination.c_str()) != 0) Fail("cannot go back to " + destination);
    return Milliseconds(end - start);
}

void CopyFile(const std::string& from, const std::string& to, std::vector<char>* buffer) {
    const int in = open(from.c_str(), O_RDONLY);
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) Fail("cannot copy " + from);
    for (;;) {
        const ssize_t got = read(in, buffer->data(), buffer->size());
        if (got < 0) Fail("cannot read " + from);
        if (got == 0) break;
        if (write(out, buffer->data(), static_cast<std::size_t>(got)) != got) Fail("cannot write " + to);
    }
    close(in);
    if (close(out) != 0) Fail("cannot close " + to);
}

double TimeCopy(const std::string& destination) {
    const std::string folder = destination + "PlainCopy/";
    std::filesystem::remove_all(folder);
    std::vector<char> buffer(256 * 1024);

    const auto start = std::chrono::steady_clock::now();
    if (mkdir(folder.c_str(), 0755) != 0) Fail("cannot create " + folder);
    for (const char* name : kFiles) {
        CopyFile(std::string(KW_PAYLOAD_DIR) + "/" + name, folder + name, &buffer);
    }
    return Milliseconds(std::chrono::steady_clock::now() - start);
}

void PrintRow(const char* label, const std::vector<double>& values) {
    std::printf("%s", label);
    for (double value : values) std::printf(" %.3f", value);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) Fail("usage: kw_install_bench FOLDER ROUNDS");
    std::string destination = std::filesystem::absolute(argv[1]).string();
    if (destination.back() != '/') destination += '/';
    std::filesystem::create_directories(destination);
    if (chdir(destination.c_str()) != 0) Fail("cannot enter " + destination);
    const int rounds = std::atoi(argv[2]);

    std::vector<double> installs;
    std::vector<double> copies;
    int pauses = 0;
    int paused_ms = 0;
    // One unrecorded round first: the first touch of the payload's pages and of the folder is not the
    // installation's work.
    TimeInstall(destination, &pauses, &paused_ms);
    TimeCopy(destination);
    for (int round = 0; round < rounds; ++round) {
        // Which goes first alternates, so neither always finds the other's freed blocks.
        if (round % 2 == 0) {
            installs.push_back(TimeInstall(destination, &pauses, &paused_ms));
            copies.push_back(TimeCopy(destination));
        } else {
            copies.push_back(TimeCopy(destination));
            installs.push_back(TimeInstall(destination, &pauses, &paused_ms));
        }
    }
    std::filesystem::remove_all(destination + "Kestrowin");
    std::filesystem::remove_all(destination + "PlainCopy");

    PrintRow("install", installs);
    PrintRow("copy", copies);
    std::printf("pauses %d %d\n", pauses, paused_ms);
    return 0;
}
