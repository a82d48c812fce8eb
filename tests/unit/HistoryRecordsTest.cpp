#include "history/HistoryRecords.h"

#include <gtest/gtest.h>

#include "TestData.h"

#include <memory>
#include <random>

namespace {

std::string Int32(int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  return {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
          static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
}

// One record as a damaged or foreign file may hold it.
std::string Record(unsigned char kind, int32_t image, std::string text, int32_t itemData = 0,
                   std::string reserved = "", int32_t stateImage = -1, int32_t indent = 0) {
  return std::string(1, static_cast<char>(kind)) + Int32(image) + Int32(stateImage) + Int32(indent) +
         Int32(itemData) + text + '\0' + reserved + '\0';
}
std::string Row(std::string text, int32_t itemData = 0) { return Record(0x00, -1, std::move(text), itemData); }
std::string Cell(std::string text, unsigned char kind = 0x01) { return Record(kind, -1, std::move(text)); }

HistoryRow Expected(std::string_view text, std::vector<std::string_view> cells = {}, int32_t itemData = 0) {
  HistoryRow row;
  row.text = text;
  row.itemData = itemData;
  for (std::string_view cell : cells) row.cells.push_back({-1, cell});
  return row;
}

// Parses a copy that ends exactly where the bytes end, so that a read past the end touches
// memory that belongs to nobody (AddressSanitizer in the fuzz build, or garbage here).
std::vector<HistoryRow> ParseExactCopy(const std::string& bytes, std::unique_ptr<char[]>& storage) {
  storage = std::make_unique<char[]>(bytes.size() + 1);
  std::copy(bytes.begin(), bytes.end(), storage.get());
  storage[bytes.size()] = 'X';  // a wrong terminator just past the end
  return ParseHistoryRecords(std::string_view(storage.get(), bytes.size()));
}

}  // namespace

TEST(HistoryRecords, TheWorkedExampleIsWrittenByteForByteAndReadBack) {
  HistoryRow row = Expected("2021.11.12 12:10:12", {"a.png", "QUJD"});
  EXPECT_EQ(HistoryRecordsToBytes({row}), WorkedExampleHistory);

  std::string bytes;
  AppendRowRecord(bytes, -1, -1, 0, 0, "2021.11.12 12:10:12");
  AppendCellRecord(bytes, -1, "a.png");
  AppendCellRecord(bytes, -1, "QUJD");
  EXPECT_EQ(bytes, WorkedExampleHistory);

  std::vector<HistoryRow> rows = ParseHistoryRecords(WorkedExampleHistory);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], row);
}

TEST(HistoryRecords, AnEmptyListIsZeroBytesAndZeroBytesAreNoRows) {
  EXPECT_EQ(HistoryRecordsToBytes({}), "");
  EXPECT_TRUE(ParseHistoryRecords("").empty());
}

TEST(HistoryRecords, DamagedAndForeignFilesReadAsTheRecordsTheyHold) {
  const std::string gbk = "\xCD\xBC\xC6\xAC.png";  // 图片.png
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<HistoryRow> rows;
  } cases[] = {
      {"only row records", Row("t1") + Row("t2") + Row("t3"), {Expected("t1"), Expected("t2"), Expected("t3")}},
      {"three cell records: all three kept for the list to place", Row("t") + Cell("a") + Cell("b") + Cell("c"),
       {Expected("t", {"a", "b", "c"})}},
      {"cells before the first row belong to no row", Cell("x") + Cell("y") + Row("t") + Cell("a"),
       {Expected("t", {"a"})}},
      {"any kind other than 0x00 is a cell", Row("t") + Cell("a", 0x02) + Cell("b", 0xFF),
       {Expected("t", {"a", "b"})}},
      {"a text without its zero byte at the end is dropped", Row("t") + Cell("a") + std::string("\x01", 1) +
       Int32(-1) + Int32(-1) + Int32(0) + Int32(0) + "QUJD", {Expected("t", {"a"})}},
      {"a reserved text without its zero byte is dropped", Row("t") + Row("u").substr(0, Row("u").size() - 1),
       {Expected("t")}},
      {"fixed fields cut short are dropped", Row("t") + Row("u").substr(0, 16), {Expected("t")}},
      {"a lone kind byte is dropped", Row("t") + std::string(1, '\0'), {Expected("t")}},
      {"a reserved text with content is skipped", Record(0x00, -1, "t", 0, "junk") + Record(0x01, -1, "a", 0, "more"),
       {Expected("t", {"a"})}},
      {"empty texts", Row("") + Cell("") + Cell("b"), {Expected("", {"", "b"})}},
      {"code page 936 texts as they are", Row("t") + Cell(gbk), {Expected("t", {gbk})}},
      {"item data, negative and largest", Row("t", -2) + Row("u", 0x7FFFFFFF),
       {Expected("t", {}, -2), Expected("u", {}, 0x7FFFFFFF)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<char[]> storage;
    EXPECT_EQ(ParseExactCopy(c.bytes, storage), c.rows);
  }
}

TEST(HistoryRecords, ImagesStateImagesAndIndentsAreReadAsWrittenWhileCellsKeepOnlyTheirImage) {
  std::string bytes = Record(0x00, 5, "t", 7, "", 3, 2) + Record(0x01, 4, "a", 99, "", 9, 9);
  std::vector<HistoryRow> rows = ParseHistoryRecords(bytes);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].image, 5);
  EXPECT_EQ(rows[0].stateImage, 3);
  EXPECT_EQ(rows[0].indent, 2);
  EXPECT_EQ(rows[0].itemData, 7);
  ASSERT_EQ(rows[0].cells.size(), 1u);
  EXPECT_EQ(rows[0].cells[0], (HistoryCell{4, "a"}));
}

TEST(HistoryRecords, EveryCutOfAFileGivesTheRecordsThatEndBeforeTheCut) {
  std::string bytes = Row("2021.1.5 21:03:07") + Cell("b.txt") + Cell("YQ==") + Row("2021.1.4 09:00:00") +
                      Cell("c") + Cell("");
  std::vector<HistoryRow> whole = ParseHistoryRecords(bytes);
  ASSERT_EQ(whole.size(), 2u);
  // Where each record ends, and what has been read by then.
  std::vector<std::pair<size_t, std::vector<HistoryRow>>> stages;
  size_t end = 0;
  std::vector<HistoryRow> soFar;
  for (const HistoryRow& row : whole) {
    end += HistoryRecordFixedBytes + 2 + row.text.size();
    soFar.push_back(Expected(row.text));
    stages.emplace_back(end, soFar);
    for (const HistoryCell& cell : row.cells) {
      end += HistoryRecordFixedBytes + 2 + cell.text.size();
      soFar.back().cells.push_back(cell);
      stages.emplace_back(end, soFar);
    }
  }
  ASSERT_EQ(end, bytes.size());
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    std::vector<HistoryRow> expected;
    for (const auto& [stageEnd, rows] : stages) {
      if (stageEnd <= cut) expected = rows;
    }
    std::unique_ptr<char[]> storage;
    EXPECT_EQ(ParseExactCopy(bytes.substr(0, cut), storage), expected);
  }
}

TEST(HistoryRecords, TextsPointIntoTheBytesAndAreFollowedThereByTheirZeroByte) {
  std::vector<HistoryRow> rows = ParseHistoryRecords(WorkedExampleHistory);
  ASSERT_EQ(rows.size(), 1u);
  std::vector<std::string_view> texts = {rows[0].text, rows[0].cells[0].text, rows[0].cells[1].text};
  for (std::string_view text : texts) {
    ASSERT_GE(text.data(), WorkedExampleHistory.data());
    ASSERT_LT(text.data() + text.size(), WorkedExampleHistory.data() + WorkedExampleHistory.size());
    EXPECT_EQ(text.data()[text.size()], '\0');
  }
}

TEST(HistoryRecords, AWrittenTextEndsAtItsFirstZeroByte) {
  std::string bytes;
  AppendCellRecord(bytes, -1, std::string_view("ab\0cd", 5));
  EXPECT_EQ(bytes, Record(0x01, -1, "ab"));
}

TEST(HistoryRecords, RandomRowsSurviveWritingAndReading) {
  std::mt19937 random(20211112);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> texts;
    texts.reserve(400);
    std::vector<HistoryRow> rows(random() % 6);
    auto text = [&] {
      std::string t(random() % 40, ' ');
      for (char& c : t) c = static_cast<char>(1 + random() % 255);  // any byte but zero
      texts.push_back(std::move(t));
      return std::string_view(texts.back());
    };
    for (HistoryRow& row : rows) {
      row.image = static_cast<int32_t>(random());
      row.stateImage = static_cast<int32_t>(random());
      row.indent = static_cast<int32_t>(random());
      row.itemData = static_cast<int32_t>(random());
      row.text = text();
      row.cells.resize(random() % 4);
      for (HistoryCell& cell : row.cells) cell = {static_cast<int32_t>(random()), text()};
    }
    std::string bytes = HistoryRecordsToBytes(rows);
    ASSERT_EQ(ParseHistoryRecords(bytes), rows) << "round " << round;
  }
}
