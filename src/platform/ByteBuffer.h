#pragma once
// A run of bytes whose size is fixed when it is made and whose contents are not zero-filled
// first, so that a whole file read into it is written exactly once.
#include <cstddef>
#include <memory>
#include <string_view>

class ByteBuffer {
 public:
  ByteBuffer() = default;
  // Throws std::bad_alloc when the memory is not there.
  explicit ByteBuffer(size_t size)
      : bytes_(size ? std::make_unique_for_overwrite<char[]>(size) : nullptr), size_(size) {}

  char* data() { return bytes_.get(); }
  size_t size() const { return size_; }
  std::string_view view() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  size_t size_ = 0;
};
