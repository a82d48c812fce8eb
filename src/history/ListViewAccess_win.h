#pragma once
// Reads a list-view control through its ANSI messages, answered into this program's memory.
// Until Attach succeeds every read gives 0, -1 or the empty text.
#include <windows.h>

#include <string>

class ListViewAccess {
 public:
  // True, and the list is kept, when the window's class name is exactly the expected one.
  bool Attach(HWND list, const char* expectedClassName = "SysListView32");
  // The whole text of a cell, of any length; empty for a row or column the list does not have.
  std::string GetItemText(int row, int column, size_t bufferSize = 512) const;
  // The cell's image index as the list reports it.
  int GetItemImage(int row, int column) const;
  int GetItemCount() const;
  LPARAM GetItemData(int row) const;
  int GetColumnCount() const;

  HWND list() const { return list_; }

 private:
  HWND list_ = nullptr;
};

// The image index when the list has an image list of that kind (LVSIL_SMALL, LVSIL_STATE)
// holding that image, otherwise -1: the history keeps only images the list can show.
int ShowableImage(HWND list, int imageListKind, int image);
