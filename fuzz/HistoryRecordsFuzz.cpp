// Any bytes may sit in the history file. Reading them must stay inside them, and the rows read
// must come back the same after being written again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "history/HistoryRecords.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<HistoryRow> rows = ParseHistoryRecords(bytes);

  auto insideAndTerminated = [&](std::string_view text) {
    return text.data() >= bytes.data() && text.data() + text.size() < bytes.data() + bytes.size() &&
           text.data()[text.size()] == '\0' && text.find('\0') == std::string_view::npos;
  };
  for (const HistoryRow& row : rows) {
    Require(insideAndTerminated(row.text));
    for (const HistoryCell& cell : row.cells) Require(insideAndTerminated(cell.text));
  }

  std::string written = HistoryRecordsToBytes(rows);
  Require(written.size() <= size);  // the writer adds nothing the bytes did not hold
  Require(ParseHistoryRecords(written) == rows);
  return 0;
}
