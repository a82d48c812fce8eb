#pragma once
// Reads a list-view control through its messages, answered into this program's memory. Texts
// come as the list's ANSI messages give them (code page 936 here). Until Attach succeeds every
// read gives 0, -1 or the empty text.
#include <windows.h>

#include <string>
#include <string_view>

class ListViewAccess {
 public:
  // True, and the list is kept, when the window's class name is exactly the expected one.
  bool Attach(HWND list, const char* expectedClassName = "SysListView32");
  // The whole text of a cell, of any length; empty for a row or column the list does not have.
  // bufferSize is only the first guess: the buffer grows until the text fits.
  std::string GetItemText(int row, int column, size_t bufferSize = 512) const;
  // The same text appended to out, without a copy of its own.
  void AppendItemText(int row, int column, std::string& out, size_t bufferSize = 512) const;
  // The cell's image index as the list reports it.
  int GetItemImage(int row, int column) const;
  int GetItemCount() const;
  LPARAM GetItemData(int row) const;
  int GetColumnCount() const;

  HWND list() const { return list_; }

 private:
  HWND list_ = nullptr;
  mutable std::wstring wideBuffer_;  // kept between reads, so that a long text grows it once
};

// A text for the list's UTF-16 messages, converted exactly as its ANSI messages convert it.
void ListTextToWide(std::string_view text, std::wstring& wide);
// A text the list gave in UTF-16, appended as its ANSI messages would give it.
void AppendListText(std::wstring_view wide, std::string& out);

// The image index when the list has an image list of that kind (LVSIL_SMALL, LVSIL_STATE)
// holding that image, otherwise -1: the history keeps only images the list can show.
int ShowableImage(HWND list, int imageListKind, int image);
