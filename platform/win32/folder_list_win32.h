// The folder list of the Win32 backend: a details view of one folder's contents that follows changes to
// the folder by itself, sorts by a clicked column title and walks into a double-clicked subfolder. It
// relies on what StartGui sets up on the window thread: the common controls, and COM for the shell's type
// names.
#pragma once

#include <windows.h>

#include <string>

// Creates the list as child `id` of `parent`, its columns `column_width` pixels wide, showing `folder`, in
// `font` (NULL keeps the control's own; the caller keeps ownership). Returns NULL when the window cannot
// be made. Everything else it holds, its watcher thread included, is released when the window is
// destroyed.
HWND CreateFolderListWindow(HWND parent, int id, int x, int y, int width, int height, int column_width,
                            const std::wstring& folder, HFONT font);
