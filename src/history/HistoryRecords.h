#pragma once
// The history file: the list view's items-data format, a flat run of records with no header.
//
// Each row of the list is one row record for column 0, then one cell record per further column.
// Every record is 19 + n bytes, integers little-endian and signed:
//   offset  0  kind: 0x00 row record; any other value a cell record (written as 0x01)
//   offset  1  image index (-1: none)
//   offset  5  state-image index (-1: none; ignored in cell records)
//   offset  9  indent (ignored in cell records)
//   offset 13  item data (ignored in cell records)
//   offset 17  the text (code page 936, n bytes), then one zero byte
//   then       a reserved second text: written empty, one zero byte; skipped when read
// The newest row comes first; an empty list is a file of 0 bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A text read from the records points into the given bytes, and a zero byte follows it
// there, so it can be handed on as a C string without a copy.
struct HistoryCell {
  int32_t image = -1;
  std::string_view text;

  bool operator==(const HistoryCell&) const = default;
};

struct HistoryRow {
  int32_t image = -1;
  int32_t stateImage = -1;
  int32_t indent = 0;
  int32_t itemData = 0;
  std::string_view text;           // column 0
  std::vector<HistoryCell> cells;  // the k-th cell record after the row, for column k (k from 1)

  bool operator==(const HistoryRow&) const = default;
};

inline constexpr size_t HistoryRecordFixedBytes = 17;

// Reads every complete record. Cell records before the first row record belong to no row and
// are dropped; so is a last record cut short by the end of the bytes (fixed fields, text or
// reserved text incomplete). Nothing past the end of the bytes is ever read.
std::vector<HistoryRow> ParseHistoryRecords(std::string_view bytes);

// Appends one record in the layout above. A text is written up to its first zero byte, if it
// has one, since the format cannot carry zeros inside a text.
void AppendRowRecord(std::string& bytes, int32_t image, int32_t stateImage, int32_t indent, int32_t itemData,
                     std::string_view text);
void AppendCellRecord(std::string& bytes, int32_t image, std::string_view text);

// The same in three steps, for a writer that appends each text itself straight from where it
// lives: the fixed fields, then the text (no zero byte in it), then FinishRecord.
void AppendRowFields(std::string& bytes, int32_t image, int32_t stateImage, int32_t indent, int32_t itemData);
void AppendCellFields(std::string& bytes, int32_t image);
void FinishRecord(std::string& bytes);

// Every row with all its cells, in order.
std::string HistoryRecordsToBytes(const std::vector<HistoryRow>& rows);
