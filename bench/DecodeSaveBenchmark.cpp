// Decoding a text and saving the bytes, natively: DecodeBase64 followed by the safe save beside
// DecodeBase64 followed by a plain write (create or truncate, write, close). The safe save is a
// POSIX twin of the program's Win32 steps: look at the target (GetFileAttributesW: stat), a new
// temporary file beside it (CreateFileW CREATE_NEW: O_EXCL), written, flushed to the disk
// (FlushFileBuffers: fsync), renamed over the target with the move itself on the disk
// (MoveFileExW with MOVEFILE_WRITE_THROUGH: rename, then fsync of the folder).
//
//   build/native/bench/decode_save_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only
// The files go to $QUENDRAL_BENCH_DIR, else to the temporary folder; use a folder on the disk
// the figures are for (a tmpfs makes fsync free).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "codec/Base64.h"

namespace {

std::filesystem::path BenchFolder() {
  const char* chosen = std::getenv("QUENDRAL_BENCH_DIR");
  std::filesystem::path folder =
      chosen ? std::filesystem::path(chosen) : std::filesystem::temp_directory_path() / "quendral-decode-bench";
  std::filesystem::create_directories(folder);
  return folder;
}

std::string RandomBytes(size_t size) {
  std::mt19937_64 random(size);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

const std::string& TextOf(size_t megabytes) {
  static std::string texts[64];
  std::string& text = texts[megabytes];
  if (text.empty()) text = EncodeBase64(RandomBytes(megabytes << 20));
  return text;
}

bool WriteAll(int file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t written = ::write(file, bytes.data() + done, bytes.size() - done);
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

bool PlainWrite(const std::string& path, const std::string& bytes) {
  int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return false;
  bool written = WriteAll(file, bytes);
  return ::close(file) == 0 && written;
}

// The plain write with the bytes on the disk: what the disk alone costs the safe save.
bool FlushedPlainWrite(const std::string& path, const std::string& bytes) {
  int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return false;
  bool written = WriteAll(file, bytes) && ::fsync(file) == 0;
  return ::close(file) == 0 && written;
}

bool SafeWrite(const std::string& path, const std::string& bytes) {
  struct stat target {};
  if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) return false;
  std::string folder = std::filesystem::path(path).parent_path().string();
  std::string temporary = folder + "/~Quendral-" + std::to_string(::getpid()) + ".tmp";
  int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (file < 0) return false;
  bool written = WriteAll(file, bytes) && ::fsync(file) == 0;
  if (::close(file) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (directory < 0) return false;
  bool moved = ::fsync(directory) == 0;
  ::close(directory);
  return moved;
}

template <bool (*Write)(const std::string&, const std::string&)>
void DecodeAndWrite(benchmark::State& state) {
  const std::string& text = TextOf(static_cast<size_t>(state.range(0)));
  std::string path = (BenchFolder() / "saved.bin").string();
  for (auto _ : state) {
    DecodeResult decoded = DecodeBase64(text);
    if (!decoded.ok() || !Write(path, decoded.bytes)) state.SkipWithError("the decode or the write failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (state.range(0) << 20));
  std::filesystem::remove(path);
}

void DecodeOnly(benchmark::State& state) {
  const std::string& text = TextOf(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(DecodeBase64(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (state.range(0) << 20));
}

// With --benchmark_repetitions=N the best of the N runs is reported as "_min".
void Sizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark->ComputeStatistics("min", [](const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
  });
}

BENCHMARK(DecodeOnly)->Apply(Sizes);
BENCHMARK(DecodeAndWrite<PlainWrite>)->Name("DecodeAndPlainWrite")->Apply(Sizes);
BENCHMARK(DecodeAndWrite<FlushedPlainWrite>)->Name("DecodeAndFlushedPlainWrite")->Apply(Sizes);
BENCHMARK(DecodeAndWrite<SafeWrite>)->Name("DecodeAndSafeWrite")->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
