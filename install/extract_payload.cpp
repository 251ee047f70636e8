#include <cstddef>

#include "app/shared_state.h"
#include "assets/payload_table.h"
#include "install/run_install.h"
#include "install/status.h"
#include "platform/files.h"
#include "platform/gui.h"
#include "screens/controls.h"

namespace {

// Writes one entry; false at the first thing that goes wrong. The file is closed in every case, and a
// close that loses data counts as a failed write.
bool WriteEntry(const PayloadEntry& entry) {
    const plat::FileHandle file = plat::CreateFile(entry.file_name);
    if (file == 0) return false;
    ShowStatus(entry.status_text);

    const std::size_t length = entry.data.size();
    const std::size_t written = plat::WriteFile(file, entry.data.begin, length);
    if (written == 0 && length != 0) {
        plat::CloseFile(file);
        return false;
    }
    ShowStatus("Status: Verifying file ...");
    if (written != length) {
        plat::CloseFile(file);
        return false;
    }
    if (!plat::CloseFile(file)) return false;
    ShowStatus("Status: Verified Ok ...");
    plat::SetProgressValue(kProgressBar, entry.progress_value);
    return true;
}

}  // namespace

void ExtractPayload() {
    const PayloadEntry* table = PayloadTable();
    for (int i = 0; i < kPayloadCount; ++i) {
        if (!WriteEntry(table[i])) {
            StepFailed = 1;
            return;
        }
    }
}
