#include "util/DateTimeText_win.h"

#include <windows.h>
#include <oleauto.h>

#include <optional>

namespace {

// Each part is formatted into 50 characters; GetDateFormatA and GetTimeFormatA fail rather than cut.
constexpr int PartBufferSize = 50;
constexpr size_t ShortestPicture = 3;

template <typename Format>
std::optional<std::string> FormatPart(const std::string& picture, Format format) {
  if (picture.size() < ShortestPicture) return std::string();
  char buffer[PartBufferSize] = {};
  int written = format(picture.c_str(), buffer);  // characters written, the terminating NUL included
  if (written <= 0) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(written - 1));
}

}  // namespace

std::string DateTimeToText(double value, const std::string& datePicture, const std::string& timePicture,
                           bool force24Hour) {
  SYSTEMTIME fields{};
  if (!::VariantTimeToSystemTime(value, &fields)) return {};
  // Locale 0 is the user's default locale.
  std::optional<std::string> date = FormatPart(datePicture, [&](const char* picture, char* buffer) {
    return ::GetDateFormatA(0, 0, &fields, picture, buffer, PartBufferSize);
  });
  std::optional<std::string> time = FormatPart(timePicture, [&](const char* picture, char* buffer) {
    return ::GetTimeFormatA(0, force24Hour ? TIME_FORCE24HOURFORMAT : 0, &fields, picture, buffer, PartBufferSize);
  });
  if (!date || !time) return {};
  return *date + *time;
}
