#pragma once
// The complete executable file of the updater (Update.exe), carried inside the program; the build
// generates its definition from the updater it built just before (cmake/EmbedBytes.cmake).
#include <cstddef>
#include <string_view>

extern const unsigned char UpdaterImageBytes[];
extern const std::size_t UpdaterImageBytesSize;

inline std::string_view UpdaterImage() {
  return {reinterpret_cast<const char*>(UpdaterImageBytes), UpdaterImageBytesSize};
}
