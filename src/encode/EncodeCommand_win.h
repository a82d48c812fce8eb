#pragma once
#include "platform/CommandContext.h"

// 开始: reads the local file or web link named in 地址, puts its Base64 text into 编码文本 and adds
// a row with the time, the file name and the text at the top of 历史记录. When the file or link
// cannot be read the user is told so and nothing changes.
void EncodeFile(const CommandContext& context);

// 打开: lets the user pick a local file and puts its full path into 地址.
void ChooseFile(const CommandContext& context);
