// What the encode command costs besides the window: reading a whole file and encoding it, beside
// a plain read of the same file and the encoder alone, on 1, 10 and 50 MB files. Wall time, the
// best of several interleaved repetitions, the file in the page cache.
//
// The whole-file read is the Windows one (platform/FileRead_win.cpp) step for step with POSIX
// calls: the size first, a ByteBuffer of exactly that size, reads until it is full. Two plain
// reads stand beside it: into a buffer made once (the system's copy alone) and into a new buffer
// each time (what any whole-file read pays, the fresh memory's page faults included). The
// overhead is ours against the new-buffer read plus the encoder; against the reused buffer it
// also counts the page faults, which no new buffer avoids.
#include "codec/Base64.h"
#include "platform/ByteBuffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr size_t MiB = 1024 * 1024;
constexpr int Repetitions = 15;

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "encode_work_bench: %s\n", what);
  std::exit(1);
}

std::string WriteSampleFile(const std::string& directory, size_t size) {
  std::string path = directory + "/sample-" + std::to_string(size / MiB) + "MB.bin";
  std::mt19937_64 random(size);
  std::string bytes(size, '\0');
  for (size_t at = 0; at + 8 <= size; at += 8) {
    uint64_t value = random();
    std::copy_n(reinterpret_cast<const char*>(&value), 8, bytes.data() + at);
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  Require(file && std::fwrite(bytes.data(), 1, size, file) == size && std::fclose(file) == 0, "cannot write sample");
  return path;
}

// The twin of ReadWholeFile: an empty buffer on any failure.
ByteBuffer ReadWholeFile(const std::string& path) {
  int file = ::open(path.c_str(), O_RDONLY);
  if (file < 0) return {};
  struct stat status {};
  ByteBuffer bytes;
  if (::fstat(file, &status) == 0) {
    bytes = ByteBuffer(static_cast<size_t>(status.st_size));
    size_t have = 0;
    while (have < bytes.size()) {
      ssize_t got = ::read(file, bytes.data() + have, std::min<size_t>(bytes.size() - have, 1u << 30));
      if (got <= 0) {
        bytes = ByteBuffer();
        break;
      }
      have += static_cast<size_t>(got);
    }
  }
  ::close(file);
  return bytes;
}

size_t PlainRead(const std::string& path, char* buffer, size_t size) {
  int file = ::open(path.c_str(), O_RDONLY);
  Require(file >= 0, "cannot open sample");
  size_t have = 0;
  for (ssize_t got; (got = ::read(file, buffer + have, size - have)) > 0;) have += got;
  ::close(file);
  return have;
}

// <chrono> cannot be compiled with GBK as the execution character set; the clock itself serves.
double Now() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(const std::function<void()>& work) {
  double start = Now();
  work();
  return Now() - start;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string directory = argc > 1 ? argv[1] : "/tmp";
  std::printf("%6s %14s %14s %10s %14s %14s %10s\n", "file", "read (reused)", "read (new)", "encode", "read+encode",
              "ours", "overhead");
  for (size_t size : {1 * MiB, 10 * MiB, 50 * MiB}) {
    const std::string path = WriteSampleFile(directory, size);
    const ByteBuffer bytes = ReadWholeFile(path);
    Require(bytes.size() == size, "the whole-file read gave the wrong size");
    const std::string expected = EncodeBase64(bytes.view());
    std::vector<char> reused(size + 1);

    double plain = 1e9, fresh = 1e9, encode = 1e9, ours = 1e9;
    for (int i = 0; i < Repetitions; ++i) {
      plain = std::min(plain, Seconds([&] { Require(PlainRead(path, reused.data(), size) == size, "plain read"); }));
      fresh = std::min(fresh, Seconds([&] {
                         auto buffer = std::make_unique_for_overwrite<char[]>(size);
                         Require(PlainRead(path, buffer.get(), size) == size, "plain read");
                       }));
      encode = std::min(encode, Seconds([&] { Require(EncodeBase64(bytes.view()) == expected, "encode"); }));
      ours = std::min(ours, Seconds([&] { Require(EncodeBase64(ReadWholeFile(path).view()) == expected, "ours"); }));
    }
    const double alone = fresh + encode;
    std::printf("%4zuMB %12.2fms %12.2fms %8.2fms %12.2fms %12.2fms %+9.1f%%\n", size / MiB, plain * 1e3, fresh * 1e3,
                encode * 1e3, alone * 1e3, ours * 1e3, (ours - alone) / alone * 100);
    std::remove(path.c_str());
  }
}
