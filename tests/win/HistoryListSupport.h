#pragma once
// Looking at and filling a history list directly through its messages, independent of the
// program's own list access.
#include <windows.h>

#include <string>
#include <vector>

using CellTexts = std::vector<std::string>;

// A row as the encode command inserts it: at the top, three texts, no image, item data 0.
void InsertRowAtTop(HWND list, const CellTexts& cells);
// Rows in list order, every cell of every column, read with a buffer larger than any text.
std::vector<CellTexts> ListRows(HWND list);
void SelectRow(HWND list, int row);  // focused and selected, as a click makes it
int ItemImage(HWND list, int row, int column);
