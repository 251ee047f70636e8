#include "install/run_install.h"

#include <string>
#include <vector>

#include "app/error_window.h"
#include "app/shared_state.h"
#include "install/failure_texts.h"
#include "install/paths.h"
#include "install/status.h"
#include "platform/files.h"

namespace {

void ReportFailure(const std::string& text) {
    ErrorText = text;
    ShowStepError();
}

// Removes an earlier game folder found in the listing. Letter case counts: a folder whose name differs
// only in case is someone else's.
bool RemoveEarlierGameFolder(const std::vector<plat::FolderEntry>& entries) {
    for (const plat::FolderEntry& entry : entries) {
        if (entry.is_folder && entry.name == GameFolder) return plat::RemoveFolderTree(GamePath());
    }
    return true;
}

}  // namespace

void RunInstall() {
    ShowStatus("Status: Checking destination folder ...");
    std::vector<plat::FolderEntry> entries;
    // An empty destination would make every path relative to wherever the process happens to be.
    if (InstallLocation.empty() || !plat::ListFolder(InstallFolder(), "*.*", &entries)) {
        ReportFailure(LocateFailureText());
        return;
    }

    StepFailed = RemoveEarlierGameFolder(entries) ? 0 : 1;
    if (StepFailed == 1) {
        ReportFailure(RemoveFailureText());
        return;
    }

    ShowStatus("Status: Creating folder 'Kestrowin'");
    if (!plat::CreateFolder(InstallFolder() + GameFolder)) {
        StepFailed = 1;
        ReportFailure(CreateFailureText());
        return;
    }
    ShowStatus("Status: Directory ' Kestrowin' created succesfully ...");

    // The files are written by bare name: outside the game folder they would land somewhere else.
    if (!plat::SetCurrentDirectory(GamePath())) {
        StepFailed = 1;
        ReportFailure(CreateFailureText());
        return;
    }

    ShowStatus("Status: Extracting game files ...");
    StepFailed = 0;
    ExtractPayload();
    if (StepFailed == 1) {
        // Step out of the game folder, or the next attempt could not remove it on Windows.
        plat::SetCurrentDirectory(InstallFolder());
        ReportFailure(SaveFailureText());
    }
}
