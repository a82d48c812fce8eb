#include "history/HistoryRecords.h"

#include <cstring>

namespace {

constexpr unsigned char RowKind = 0x00;
constexpr unsigned char CellKind = 0x01;

int32_t ReadInt32(const char* bytes) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return static_cast<int32_t>(value);
}

void AppendInt32(std::string& bytes, int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  char little[4] = {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
                    static_cast<char>(bits >> 24)};
  bytes.append(little, sizeof little);
}

// The first zero byte at or after from, or npos; eight bytes at a time, since the C library's
// memchr is a plain byte loop in some Windows runtimes and a history holds megabytes of text.
size_t FindZero(std::string_view bytes, size_t from) {
  constexpr uint64_t Ones = 0x0101010101010101ULL, Highs = 0x8080808080808080ULL;
  size_t at = from;
  for (; at + 8 <= bytes.size(); at += 8) {
    uint64_t word;
    std::memcpy(&word, bytes.data() + at, sizeof word);
    if ((word - Ones) & ~word & Highs) break;  // some byte of the word is zero
  }
  for (; at < bytes.size(); ++at) {
    if (bytes[at] == '\0') return at;
  }
  return std::string_view::npos;
}

// The text up to its first zero byte.
std::string_view UpToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

std::vector<HistoryRow> ParseHistoryRecords(std::string_view bytes) {
  std::vector<HistoryRow> rows;
  size_t position = 0;
  while (position < bytes.size()) {
    if (bytes.size() - position < HistoryRecordFixedBytes) break;
    const char* record = bytes.data() + position;
    size_t textStart = position + HistoryRecordFixedBytes;
    size_t textEnd = FindZero(bytes, textStart);
    if (textEnd == std::string_view::npos) break;
    size_t reservedEnd = FindZero(bytes, textEnd + 1);
    if (reservedEnd == std::string_view::npos) break;
    std::string_view text = bytes.substr(textStart, textEnd - textStart);
    position = reservedEnd + 1;

    if (static_cast<unsigned char>(record[0]) == RowKind) {
      rows.push_back({ReadInt32(record + 1), ReadInt32(record + 5), ReadInt32(record + 9), ReadInt32(record + 13),
                      text, {}});
    } else if (!rows.empty()) {
      rows.back().cells.push_back({ReadInt32(record + 1), text});
    }
  }
  return rows;
}

void AppendRowFields(std::string& bytes, int32_t image, int32_t stateImage, int32_t indent, int32_t itemData) {
  bytes.push_back(static_cast<char>(RowKind));
  AppendInt32(bytes, image);
  AppendInt32(bytes, stateImage);
  AppendInt32(bytes, indent);
  AppendInt32(bytes, itemData);
}

void AppendCellFields(std::string& bytes, int32_t image) {
  bytes.push_back(static_cast<char>(CellKind));
  AppendInt32(bytes, image);
  AppendInt32(bytes, -1);  // state image
  AppendInt32(bytes, 0);   // indent
  AppendInt32(bytes, 0);   // item data
}

void FinishRecord(std::string& bytes) { bytes.append(2, '\0'); }  // the text's zero, the empty reserved text

void AppendRowRecord(std::string& bytes, int32_t image, int32_t stateImage, int32_t indent, int32_t itemData,
                     std::string_view text) {
  AppendRowFields(bytes, image, stateImage, indent, itemData);
  bytes.append(UpToZero(text));
  FinishRecord(bytes);
}

void AppendCellRecord(std::string& bytes, int32_t image, std::string_view text) {
  AppendCellFields(bytes, image);
  bytes.append(UpToZero(text));
  FinishRecord(bytes);
}

std::string HistoryRecordsToBytes(const std::vector<HistoryRow>& rows) {
  size_t size = 0;
  for (const HistoryRow& row : rows) {
    size += HistoryRecordFixedBytes + 2 + row.text.size();
    for (const HistoryCell& cell : row.cells) size += HistoryRecordFixedBytes + 2 + cell.text.size();
  }
  std::string bytes;
  bytes.reserve(size);
  for (const HistoryRow& row : rows) {
    AppendRowRecord(bytes, row.image, row.stateImage, row.indent, row.itemData, row.text);
    for (const HistoryCell& cell : row.cells) AppendCellRecord(bytes, cell.image, cell.text);
  }
  return bytes;
}
