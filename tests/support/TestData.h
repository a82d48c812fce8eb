#pragma once
// Data that several test programs share.
#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "history/HistoryRecords.h"

// Bytes from a generator the test seeds, so that a failure repeats.
inline std::string RandomBytes(std::mt19937& random, size_t size) {
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

inline std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  return RandomBytes(random, size);
}

// The history file of one row "2021.11.12 12:10:12", "a.png", "QUJD", written out by hand: a row
// record and two cell records, 85 bytes.
inline const std::string WorkedExampleHistory = std::string(
    "\x00" "\xFF\xFF\xFF\xFF" "\xFF\xFF\xFF\xFF" "\x00\x00\x00\x00" "\x00\x00\x00\x00"
    "2021.11.12 12:10:12" "\x00" "\x00"
    "\x01" "\xFF\xFF\xFF\xFF" "\xFF\xFF\xFF\xFF" "\x00\x00\x00\x00" "\x00\x00\x00\x00"
    "a.png" "\x00" "\x00"
    "\x01" "\xFF\xFF\xFF\xFF" "\xFF\xFF\xFF\xFF" "\x00\x00\x00\x00" "\x00\x00\x00\x00"
    "QUJD" "\x00" "\x00",
    85);

// A history file holding these rows in order, as the program writes it: for each row its row
// record (first cell; no image, no state) and a cell record for each further cell.
inline std::string HistoryFileBytes(const std::vector<std::vector<std::string>>& rows) {
  std::string bytes;
  for (const auto& row : rows) {
    AppendRowRecord(bytes, -1, -1, 0, 0, row[0]);
    for (size_t column = 1; column < row.size(); ++column) AppendCellRecord(bytes, -1, row[column]);
  }
  return bytes;
}
