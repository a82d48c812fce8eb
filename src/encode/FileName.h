#pragma once
#include <string>
#include <string_view>

// The file name a history row shows for an address, also the default name when saving its bytes
// again: the address's last element as PathFindFileNameA finds it (the text after the last "\",
// "/" or ":" that is followed by something other than "\" or "/"; a separator at the very end
// stays with the element before it), or empty text when that element ends in "\". A link's
// query stays in the name. Code page 936: the second byte of a character is never a separator.
std::string FileNameFromAddress(std::string_view address);
