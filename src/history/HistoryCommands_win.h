#pragma once
// The commands of the history list. They change only the list and the text box; the history
// file follows when the window closes.
#include "platform/CommandContext.h"

// The selected row's Base64 text into 编码文本 and its file name into that box's tag, both whole;
// with no row selected both become empty.
void ShowHistoryRow(const CommandContext& context);

// Removes the selected row, if there is one. The text box keeps what it shows.
void DeleteCurrentRecord(const CommandContext& context);

// Removes every row added a second or more before now, and every row whose time cannot be read;
// rows of this second and rows dated later stay. Lets the window handle its messages between
// rows, and stops as soon as the window is closed.
void DeleteEarlierRecords(const CommandContext& context);
