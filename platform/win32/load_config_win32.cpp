// The image's load configuration. Its one purpose here is DependentLoadFlags: the loader resolves the
// DLLs this program imports, and the DLLs those import in turn, from System32 only, before any of our code
// runs and could call SetDefaultDllDirectories. Without it a DLL dropped beside the program (a Downloads
// folder) under the name of one that a system DLL pulls in would be loaded in its place.
//
// The MinGW runtime defines no load configuration, and this linker does not point the image's header at
// one (newer ones do, for a _load_config_used), so tools/set_load_config.py does that after linking. The
// headers here describe an older layout without the field, so the layout is spelled out: the fields of the
// Windows 10 structure up to the safe-exception-handler table.
#include <windows.h>

#include <cstddef>

namespace plat::win32 {

struct LoadConfiguration {
    DWORD size;
    DWORD time_date_stamp;
    WORD major_version;
    WORD minor_version;
    DWORD global_flags_clear;
    DWORD global_flags_set;
    DWORD critical_section_default_timeout;
    ULONG_PTR decommit_free_block_threshold;
    ULONG_PTR decommit_total_free_threshold;
    ULONG_PTR lock_prefix_table;
    ULONG_PTR maximum_allocation_size;
    ULONG_PTR virtual_memory_threshold;
#if defined(_WIN64)
    ULONG_PTR process_affinity_mask;
    DWORD process_heap_flags;
#else
    DWORD process_heap_flags;
    ULONG_PTR process_affinity_mask;
#endif
    WORD csd_version;
    WORD dependent_load_flags;
    ULONG_PTR edit_list;
    ULONG_PTR security_cookie;
    ULONG_PTR se_handler_table;
    ULONG_PTR se_handler_count;
};

// The loader finds the fields by their offsets; these are the ones of the published structure.
#if defined(_WIN64)
static_assert(sizeof(LoadConfiguration) == 112 && offsetof(LoadConfiguration, dependent_load_flags) == 78,
              "64-bit load configuration layout");
#else
static_assert(sizeof(LoadConfiguration) == 72 && offsetof(LoadConfiguration, dependent_load_flags) == 54,
              "32-bit load configuration layout");
#endif

constexpr LoadConfiguration MakeLoadConfiguration() {
    LoadConfiguration configuration{};
    configuration.size = sizeof(LoadConfiguration);
    configuration.dependent_load_flags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    return configuration;
}

}  // namespace plat::win32

// The image's header points at this structure (tools/set_load_config.py writes the entry after linking).
extern "C" __attribute__((used)) const plat::win32::LoadConfiguration _load_config_used =
    plat::win32::MakeLoadConfiguration();
