#pragma once
// The history list and its file (history/HistoryRecords.h has the layout).
#include <windows.h>

#include <string>
#include <string_view>

// Every column of every row of the list, top row first, in the records' layout. Texts are read
// whole; an image the list cannot show is written as none (-1).
std::string GetItemsData(HWND list);

// Deletes every row of the list, then inserts the rows the records hold (cells beyond the list's
// columns, and images it cannot show, left out) with its redrawing suspended, then repaints it.
void SetItemsData(HWND list, std::string_view bytes);

// Writes the list to the file, replacing the old file only once the new one is whole on the
// disk. False, and the old file untouched, when it cannot, or when the window is not a list view.
bool SaveHistoryFile(HWND list, const std::string& path);

// Replaces the list's rows by those saved in the file; an absent or unreadable file leaves the
// list empty. Reports nothing to the user. False when a file is there but could not be read
// whole (held by another program, no right to read it, a read error): saving the list over it
// would then lose the history it holds.
bool LoadHistoryFile(HWND list, const std::string& path);
