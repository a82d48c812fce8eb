#pragma once
#include "platform/Handles.h"

// The font the system uses in message boxes, for the controls of windows the program builds
// itself (the raw System font looks out of place); empty when the system cannot tell.
unique_hfont CreateMessageFont();
