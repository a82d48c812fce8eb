#include "codec/Base64.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "util/CodePage936.h"

namespace {

constexpr bool LittleEndian = std::endian::native == std::endian::little;

// The value of every byte: 0..63 for a character of either alphabet (RFC 4648 sections 4 and 5),
// NoValue for everything else.
constexpr int8_t NoValue = -1;

struct ValueTable {
  int8_t values[256];
};

constexpr ValueTable MakeValueTable() {
  ValueTable table{};
  for (int8_t& value : table.values) value = NoValue;
  for (int value = 0; value < 64; ++value) table.values[static_cast<unsigned char>(Base64Alphabet[value])] = static_cast<int8_t>(value);
  table.values[static_cast<unsigned char>('-')] = 62;
  table.values[static_cast<unsigned char>('_')] = 63;
  return table;
}

constexpr ValueTable Values = MakeValueTable();

// For the k-th character of a group, its 6 bits already placed where they land among the
// group's three output bytes, so that a 32-bit store writes the bytes in order. A byte with no
// value sets bits in the fourth byte instead: one test per step finds any of them.
struct PlacedTables {
  uint32_t placed[4][256];
};

constexpr uint32_t InByte(int index, uint32_t value) {
  return LittleEndian ? value << (8 * index) : value << (8 * (3 - index));
}

constexpr uint32_t NotPlain = InByte(3, 0xFF);

constexpr PlacedTables MakePlacedTables() {
  PlacedTables tables{};
  for (int c = 0; c < 256; ++c) {
    const int8_t v = Values.values[c];
    if (v == NoValue) {
      for (auto& table : tables.placed) table[c] = NotPlain;
      continue;
    }
    const uint32_t value = static_cast<uint32_t>(v);
    tables.placed[0][c] = InByte(0, value << 2);
    tables.placed[1][c] = InByte(0, value >> 4) | InByte(1, (value & 15) << 4);
    tables.placed[2][c] = InByte(1, value >> 2) | InByte(2, (value & 3) << 6);
    tables.placed[3][c] = InByte(2, value);
  }
  return tables;
}

constexpr PlacedTables Placed = MakePlacedTables();

uint32_t Group(const unsigned char* in) {
  return Placed.placed[0][in[0]] | Placed.placed[1][in[1]] | Placed.placed[2][in[2]] | Placed.placed[3][in[3]];
}

bool IsAsciiWhiteSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The full-width space of code page 936.
bool IsFullWidthSpace(const unsigned char* p, const unsigned char* end) {
  return p[0] == 0xA1 && end - p >= 2 && p[1] == 0xA1;
}

// Length of the white-space character at p, 0 when there is none.
int WhiteSpaceLength(const unsigned char* p, const unsigned char* end) {
  if (IsAsciiWhiteSpace(*p)) return 1;
  return IsFullWidthSpace(p, end) ? 2 : 0;
}

// A code page 936 lead byte takes the next byte with it.
const unsigned char* NextCharacter(const unsigned char* p, const unsigned char* end) {
  return IsLeadByte(static_cast<char>(*p)) && end - p >= 2 ? p + 2 : p + 1;
}

bool StartsWithIgnoringCase(const unsigned char* p, const unsigned char* end, std::string_view lowerCase) {
  if (static_cast<size_t>(end - p) < lowerCase.size()) return false;
  for (char expected : lowerCase) {
    unsigned char c = *p++;
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    if (c != static_cast<unsigned char>(expected)) return false;
  }
  return true;
}

// A data URI (RFC 2397) as copied from HTML or CSS: "data:", a media type, ";base64,". The
// scheme and the token may be in any case. The prefix ends at the first comma; when that comma
// does not follow ";base64" the data is not Base64 and nothing is skipped, so the decode fails
// at the ':'.
const unsigned char* AfterDataUriPrefix(const unsigned char* begin, const unsigned char* end) {
  const unsigned char* p = begin;
  while (p < end && WhiteSpaceLength(p, end) > 0) p += WhiteSpaceLength(p, end);
  if (!StartsWithIgnoringCase(p, end, "data:")) return begin;
  const unsigned char* lastSemicolon = nullptr;
  for (p += 5; p < end; p = NextCharacter(p, end)) {
    if (*p == ';') lastSemicolon = p;
    if (*p != ',') continue;
    const bool base64 = lastSemicolon != nullptr && p - lastSemicolon == 7 &&
                        StartsWithIgnoringCase(lastSemicolon, p, ";base64");
    return base64 ? p + 1 : begin;
  }
  return begin;
}

// The text between two progress calls: 4096 groups of characters.
constexpr ptrdiff_t ProgressInterval = 4 * 4096;

class Decoder {
 public:
  Decoder(std::string_view text, const DecodeProgress& progress)
      : begin_(reinterpret_cast<const unsigned char*>(text.data())),
        end_(begin_ + text.size()),
        progress_(progress) {}

  DecodeResult Run() {
    const unsigned char* p = AfterDataUriPrefix(begin_, end_);
    // Three bytes per four characters at most, and room for the fourth byte of the last store.
    const size_t characters = static_cast<size_t>(end_ - p);
    result_.bytes.resize(characters / 4 * 3 + 2 + 4);
    out_ = reinterpret_cast<unsigned char*>(result_.bytes.data());

    while (p != nullptr && p < end_) {
      const unsigned char* stop = end_ - p > ProgressInterval ? p + ProgressInterval : end_;
      p = DecodeRun(p, stop);
      if (p != nullptr && p < end_ && progress_) progress_();
    }
    if (p != nullptr) {
      if (pending_ == 1) Fail(DecodeError::SingleCharacterGroup, groupStart_);
      WritePartialGroup();
    }
    return Finished();
  }

 private:
  // Decodes [p, stop) and returns where it stopped (a double-byte space may reach past stop),
  // or nullptr once the text has failed or ended in padding.
  const unsigned char* DecodeRun(const unsigned char* p, const unsigned char* stop) {
    while (p < stop) {
      if (pending_ == 0 && Values.values[*p] != NoValue) {
        p = DecodeStraightRun(p, stop);
        if (p == stop) break;
      }
      const unsigned char c = *p;
      const int8_t value = Values.values[c];
      if (value != NoValue) {
        if (pending_ == 0) groupStart_ = p;
        group_ = group_ << 6 | static_cast<uint32_t>(value);
        if (++pending_ == 4) WriteGroup();
        ++p;
        continue;
      }
      if (const int length = WhiteSpaceLength(p, end_); length > 0) {
        p += length;
        continue;
      }
      if (c == '=') {
        FinishAtPadding(p);
        return nullptr;
      }
      Fail(DecodeError::NotInAlphabet, p);
      return nullptr;
    }
    return p;
  }

  // Whole groups of plain characters, eight characters a step while they last, then one group;
  // stops at the first group holding anything else.
  const unsigned char* DecodeStraightRun(const unsigned char* p, const unsigned char* stop) {
    unsigned char* out = out_;
    while (stop - p >= 8) {
      const uint32_t first = Group(p);
      const uint32_t second = Group(p + 4);
      if ((first | second) & NotPlain) break;
      std::memcpy(out, &first, 4);
      std::memcpy(out + 3, &second, 4);
      p += 8;
      out += 6;
    }
    if (stop - p >= 4) {
      const uint32_t group = Group(p);
      if (!(group & NotPlain)) {
        std::memcpy(out, &group, 4);
        p += 4;
        out += 3;
      }
    }
    out_ = out;
    return p;
  }

  void WriteGroup() {
    out_[0] = static_cast<unsigned char>(group_ >> 16);
    out_[1] = static_cast<unsigned char>(group_ >> 8);
    out_[2] = static_cast<unsigned char>(group_);
    out_ += 3;
    group_ = 0;
    pending_ = 0;
  }

  // RFC 4648 section 4: two characters carry one byte, three carry two. Bits below the last
  // byte are not examined.
  void WritePartialGroup() {
    if (pending_ == 2) {
      *out_++ = static_cast<unsigned char>(group_ >> 4);
    } else if (pending_ == 3) {
      *out_++ = static_cast<unsigned char>(group_ >> 10);
      *out_++ = static_cast<unsigned char>(group_ >> 2);
    }
    pending_ = 0;
  }

  // From the first '=': it must complete a group of two or three characters (one '=' less is
  // fine too), and only white space may follow.
  void FinishAtPadding(const unsigned char* firstPad) {
    if (pending_ == 0) return Fail(DecodeError::MisplacedPadding, firstPad);
    if (pending_ == 1) return Fail(DecodeError::SingleCharacterGroup, groupStart_);
    int characters = pending_ + 1;
    for (const unsigned char* p = firstPad + 1; p < end_;) {
      if (const int length = WhiteSpaceLength(p, end_); length > 0) {
        p += length;
      } else if (*p == '=' && characters < 4) {
        ++characters;
        ++p;
      } else if (*p == '=') {
        return Fail(DecodeError::MisplacedPadding, p);
      } else if (Values.values[*p] != NoValue) {
        return Fail(DecodeError::MisplacedPadding, firstPad);
      } else {
        return Fail(DecodeError::NotInAlphabet, p);
      }
    }
    WritePartialGroup();
  }

  void Fail(DecodeError error, const unsigned char* at) {
    result_.errorPosition = static_cast<size_t>(at - begin_) + 1;
    result_.error = error;
  }

  DecodeResult Finished() {
    const auto decoded = out_ - reinterpret_cast<unsigned char*>(result_.bytes.data());
    result_.bytes.resize(result_.ok() ? static_cast<size_t>(decoded) : 0);
    return std::move(result_);
  }

  const unsigned char* const begin_;
  const unsigned char* const end_;
  const DecodeProgress& progress_;
  DecodeResult result_;
  unsigned char* out_ = nullptr;
  uint32_t group_ = 0;  // the values of the pending characters, 6 bits each
  int pending_ = 0;     // characters of the current group read so far
  const unsigned char* groupStart_ = nullptr;
};

}  // namespace

DecodeResult DecodeBase64(std::string_view text, const DecodeProgress& progress) {
  return Decoder(text, progress).Run();
}
