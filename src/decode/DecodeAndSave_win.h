#pragma once
#include "platform/CommandContext.h"
#include "platform/MessagePump_win.h"

// The command behind "base64解码": decodes the text of 编码文本, asks where to save the bytes,
// creates the missing folders, writes the file safely and shows it in its folder. A text that
// is not Base64, or a file that cannot be written, is reported and nothing is saved.
void DecodeAndSave(const CommandContext& context);

// The same, with the clock that decides when the window handles its messages during a long
// decode.
void DecodeAndSave(const CommandContext& context, MessagePump::Clock clock);
