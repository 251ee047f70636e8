// The installation's own work under Windows (wine64 here): RunInstall on the Win32 file layer, with the
// pauses counted instead of slept, against a plain copy of the same five files done with the system's own
// calls (read from the payload folder, written in 256 KiB blocks) on the same file system. The two
// alternate round by round; each round starts from a destination without the game folder.
//
// Linked twice: with a window system that shows nothing (the engine and the file layer alone), and with
// the product's Win32 window system (the same plus the status line and progress bar it paints).
//
//   kw_install_bench_win DESTINATION PAYLOAD_FOLDER ROUNDS
//
// Prints "install <ms>...", "copy <ms>...", "flushed-copy <ms>..." (the plain copy flushing each file
// to the disk before closing it, as the file layer does to learn whether the close lost data), "pauses
// <count> <total ms>" and "sleep <ms>...": how long one Sleep(10) of the product's pauses really lasts,
// with the 1 ms clock the product asks for.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "bench/bench_pauses.h"
#include "install/run_install.h"
#include "platform/gui.h"
#include "screens/frame.h"
#include "screens/screens.h"

namespace {

const char* const kFiles[] = {"PlayKestrowin.exe", "Engine3D.dll", "Assets.zip", "TroubleShooting_Guide.txt",
                              "OgreMITLicense.txt"};

class Clock {
public:
    Clock() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double ElapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
               static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "kw_install_bench_win: %s (error %lu)\n", what.c_str(), GetLastError());
    std::exit(1);
}

// Lets the window system finish what the screen's construction queued (painting), outside the clock.
void Settle() {
    const Clock clock;
    while (clock.ElapsedMs() < 50) plat::WaitForEvent(5);
}

double TimeInstall(const std::string& destination) {
    std::filesystem::remove_all(destination + "Kestrowin");
    InstallLocation = destination;
    WizardStep = kStepExtraction;
    LeaveStep = 0;
    if (BuildExtractionScreen() != 0) Fail("the extraction screen was not built");
    Settle();
    ForgetPauses();

    const Clock clock;
    RunInstall();
    const double elapsed = clock.ElapsedMs();
    if (StepFailed != 0) Fail("the installation failed in " + destination);
    SetCurrentDirectoryA(destination.c_str());
    return elapsed;
}

void CopyOneFile(const std::string& from, const std::string& to, bool flush, std::vector<char>* buffer) {
    HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE) Fail("cannot copy " + from);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in, buffer->data(), static_cast<DWORD>(buffer->size()), &got, nullptr)) {
            Fail("cannot read " + from);
        }
        if (got == 0) break;
        DWORD put = 0;
        if (!WriteFile(out, buffer->data(), got, &put, nullptr) || put != got) Fail("cannot write " + to);
    }
    CloseHandle(in);
    if (flush && !FlushFileBuffers(out)) Fail("cannot flush " + to);
    if (!CloseHandle(out)) Fail("cannot close " + to);
}

double TimeCopy(const std::string& destination, const std::string& payload, bool flush) {
    const std::string folder = destination + "PlainCopy\\";
    std::filesystem::remove_all(folder);
    std::vector<char> buffer(256 * 1024);

    const Clock clock;
    if (!CreateDirectoryA(folder.c_str(), nullptr)) Fail("cannot create " + folder);
    for (const char* name : kFiles) CopyOneFile(payload + name, folder + name, flush, &buffer);
    return clock.ElapsedMs();
}

void PrintRow(const char* label, const std::vector<double>& values) {
    std::printf("%s", label);
    for (double value : values) std::printf(" %.3f", value);
    std::printf("\n");
}

std::string WithSeparator(std::string path) {
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) Fail("usage: kw_install_bench_win DESTINATION PAYLOAD_FOLDER ROUNDS");
    const std::string destination = WithSeparator(argv[1]);
    const std::string payload = WithSeparator(argv[2]);
    const int rounds = std::atoi(argv[3]);
    std::filesystem::create_directories(destination);
    if (!SetCurrentDirectoryA(destination.c_str())) Fail("cannot enter " + destination);

    ResetSharedState();
    plat::StartGui();
    LineBreak = "\n\r";
    LoadScreenAssets();

    std::vector<double> installs;
    std::vector<double> copies;
    std::vector<double> flushed_copies;
    // One unrecorded round first: the first touch of the payload's pages and of the folder is not the
    // installation's work.
    TimeInstall(destination);
    TimeCopy(destination, payload, false);
    for (int round = 0; round < rounds; ++round) {
        // Which goes first alternates, so neither always finds the other's freed blocks.
        if (round % 2 == 0) {
            installs.push_back(TimeInstall(destination));
            copies.push_back(TimeCopy(destination, payload, false));
            flushed_copies.push_back(TimeCopy(destination, payload, true));
        } else {
            flushed_copies.push_back(TimeCopy(destination, payload, true));
            copies.push_back(TimeCopy(destination, payload, false));
            installs.push_back(TimeInstall(destination));
        }
    }
    const int pauses = PausesTaken();
    const int paused_ms = PausedMs();
    plat::StopGui();
    std::filesystem::remove_all(destination + "Kestrowin");
    std::filesystem::remove_all(destination + "PlainCopy");

    std::vector<double> sleeps;
    timeBeginPeriod(1);
    for (int i = 0; i < 19; ++i) {
        const Clock clock;
        Sleep(10);
        sleeps.push_back(clock.ElapsedMs());
    }
    timeEndPeriod(1);

    PrintRow("install", installs);
    PrintRow("copy", copies);
    PrintRow("flushed-copy", flushed_copies);
    std::printf("pauses %d %d\n", pauses, paused_ms);
    PrintRow("sleep", sleeps);
    return 0;
}
