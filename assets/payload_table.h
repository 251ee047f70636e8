// The game's five files, in the order they are written.
#pragma once

#include "assets/pictures.h"

struct PayloadEntry {
    const char* file_name;
    EmbeddedData data;
    const char* status_text;
    int progress_value;
};

constexpr int kPayloadCount = 5;

// The entries in writing order. The table is built on first use from the embedded data's bounds.
const PayloadEntry* PayloadTable();
