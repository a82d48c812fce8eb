// Throughput of the Base64 codec beside memcpy and OpenSSL, in one run, CPU time.
// Encode figures count input bytes; decode figures count characters of text.
//
// Unless told otherwise on the command line, every benchmark is repeated ten times in random
// interleaved order and the best repetition counts, so that a neighbour's load on a shared
// machine falls on all of them alike. EncodeBase64 and DecodeBase64 return a new string each
// call, so their figures include allocating it; OpenSSL is measured writing into a buffer made
// once (its best case) and into a new buffer each call (the same job as ours).
#include "codec/Base64.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr size_t MiB = 1024 * 1024;

std::string RandomBytes(size_t size) {
  std::mt19937_64 random(20240611);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

// 76 characters a line, CR LF after each (RFC 2045 section 6.8).
std::string Wrapped(const std::string& text) {
  std::string wrapped;
  wrapped.reserve(text.size() / 76 * 78 + 80);
  for (size_t at = 0; at < text.size(); at += 76) wrapped.append(text, at, 76).append("\r\n");
  return wrapped;
}

struct Sample {
  std::string bytes;
  std::string text;  // the Base64 of bytes, wrapped or not
};

// Random bytes whose text, wrapped or not, is about `textSize` characters long.
const Sample& DecodeSample(size_t textSize, bool wrapped) {
  static std::map<std::pair<size_t, bool>, Sample> samples;
  Sample& sample = samples[{textSize, wrapped}];
  if (sample.bytes.empty()) {
    const size_t characters = wrapped ? textSize / 78 * 76 : textSize;
    sample.bytes = RandomBytes(characters / 4 * 3);
    sample.text = EncodeBase64(sample.bytes);
    if (wrapped) sample.text = Wrapped(sample.text);
  }
  return sample;
}

const std::string& EncodeInput(size_t size) {
  static std::map<size_t, std::string> inputs;
  std::string& input = inputs[size];
  if (input.empty()) input = RandomBytes(size);
  return input;
}

const unsigned char* Unsigned(const std::string& text) { return reinterpret_cast<const unsigned char*>(text.data()); }

// A benchmark that computes the wrong thing measures nothing.
void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "codec_bench: %s gave a wrong result\n", what);
  std::exit(1);
}

bool SameBytes(const unsigned char* bytes, int length, const std::string& expected) {
  return length == static_cast<int>(expected.size()) && std::memcmp(bytes, expected.data(), expected.size()) == 0;
}

// Where OpenSSL writes: one buffer for every call, or a new one each call.
class OutputBuffer {
 public:
  OutputBuffer(size_t size, bool fresh) : size_(size), fresh_(fresh), buffer_(new unsigned char[size]) {}
  unsigned char* ForNextCall() {
    if (fresh_) buffer_.reset(new unsigned char[size_]);
    return buffer_.get();
  }

 private:
  size_t size_;
  bool fresh_;
  std::unique_ptr<unsigned char[]> buffer_;
};

void Counted(benchmark::State& state, size_t bytesPerCall) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytesPerCall));
}

void EncodeQuendral(benchmark::State& state, size_t size) {
  const std::string& input = EncodeInput(size);
  Require(DecodeBase64(EncodeBase64(input)).bytes == input, "EncodeBase64");
  for (auto _ : state) {
    std::string text = EncodeBase64(input);
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
  Counted(state, size);
}

void EncodeMemcpy(benchmark::State& state, size_t size) {
  const std::string& input = EncodeInput(size);
  std::unique_ptr<char[]> copy(new char[size]);
  for (auto _ : state) {
    std::memcpy(copy.get(), input.data(), size);
    benchmark::DoNotOptimize(copy.get());
    benchmark::ClobberMemory();
  }
  Counted(state, size);
}

void EncodeOpenSsl(benchmark::State& state, size_t size, bool freshBuffer) {
  const std::string& input = EncodeInput(size);
  OutputBuffer text((size + 2) / 3 * 4 + 1, freshBuffer);
  unsigned char* first = text.ForNextCall();
  const int length = EVP_EncodeBlock(first, Unsigned(input), static_cast<int>(size));
  Require(EncodeBase64(input) == std::string(reinterpret_cast<const char*>(first), length), "EVP_EncodeBlock");
  for (auto _ : state) {
    benchmark::DoNotOptimize(EVP_EncodeBlock(text.ForNextCall(), Unsigned(input), static_cast<int>(size)));
    benchmark::ClobberMemory();
  }
  Counted(state, size);
}

void DecodeQuendral(benchmark::State& state, size_t textSize, bool wrapped) {
  const Sample& sample = DecodeSample(textSize, wrapped);
  Require(DecodeBase64(sample.text).bytes == sample.bytes, "DecodeBase64");
  for (auto _ : state) {
    DecodeResult result = DecodeBase64(sample.text);
    benchmark::DoNotOptimize(result.bytes.data());
    benchmark::ClobberMemory();
  }
  Counted(state, sample.text.size());
}

void DecodeOpenSslBlock(benchmark::State& state, size_t textSize, bool freshBuffer) {
  const Sample& sample = DecodeSample(textSize, false);
  const int size = static_cast<int>(sample.text.size());
  OutputBuffer bytes(sample.text.size() / 4 * 3 + 3, freshBuffer);
  unsigned char* first = bytes.ForNextCall();
  Require(SameBytes(first, EVP_DecodeBlock(first, Unsigned(sample.text), size), sample.bytes), "EVP_DecodeBlock");
  for (auto _ : state) {
    benchmark::DoNotOptimize(EVP_DecodeBlock(bytes.ForNextCall(), Unsigned(sample.text), size));
    benchmark::ClobberMemory();
  }
  Counted(state, sample.text.size());
}

// OpenSSL's decoder that skips line breaks and white space.
int DecodeWithUpdate(const std::string& text, unsigned char* bytes) {
  std::unique_ptr<EVP_ENCODE_CTX, void (*)(EVP_ENCODE_CTX*)> context(EVP_ENCODE_CTX_new(), EVP_ENCODE_CTX_free);
  EVP_DecodeInit(context.get());
  int length = 0;
  if (EVP_DecodeUpdate(context.get(), bytes, &length, Unsigned(text), static_cast<int>(text.size())) < 0) return -1;
  int last = 0;
  if (EVP_DecodeFinal(context.get(), bytes + length, &last) < 0) return -1;
  return length + last;
}

void DecodeOpenSslUpdate(benchmark::State& state, size_t textSize, bool freshBuffer) {
  const Sample& sample = DecodeSample(textSize, true);
  OutputBuffer bytes(sample.text.size() / 4 * 3 + 3, freshBuffer);
  unsigned char* first = bytes.ForNextCall();
  Require(SameBytes(first, DecodeWithUpdate(sample.text, first), sample.bytes), "EVP_DecodeUpdate");
  for (auto _ : state) {
    benchmark::DoNotOptimize(DecodeWithUpdate(sample.text, bytes.ForNextCall()));
    benchmark::ClobberMemory();
  }
  Counted(state, sample.text.size());
}

// Keeps every repetition's throughput and prints, at the end, the best and the median of each
// benchmark and the ratios asked for.
class ThroughputReporter : public benchmark::BenchmarkReporter {
 public:
  struct Comparison {
    std::string ours;
    std::string baseline;
  };

  // Benchmarks are listed in the order they were registered, whatever order they ran in.
  template <typename... Arguments>
  void Register(const std::string& name, Arguments&&... arguments) {
    benchmark::RegisterBenchmark(name.c_str(), std::forward<Arguments>(arguments)...);
    order_.push_back(name);
  }

  void Compare(std::string ours, std::string baseline) { comparisons_.push_back({std::move(ours), std::move(baseline)}); }

  bool ReportContext(const Context& context) override {
    PrintBasicContext(&GetErrorStream(), context);
    return true;
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) {
        GetErrorStream() << run.benchmark_name() << ": " << run.error_message << '\n';
        continue;
      }
      if (run.run_type != Run::RT_Iteration) continue;
      const auto counter = run.counters.find("bytes_per_second");
      if (counter == run.counters.end()) continue;
      figures_[run.run_name.str()].push_back(counter->second.value / 1e9);
    }
  }

  void Finalize() override {
    std::printf("\nGB/s (10^9 bytes per second of CPU time) over the repetitions:\n%-58s %7s %7s\n", "", "best",
                "median");
    for (const std::string& name : order_) std::printf("%-58s %7.2f %7.2f\n", name.c_str(), Best(name), Median(name));
    std::printf("\nRatios of the best figures:\n");
    for (const Comparison& comparison : comparisons_) {
      const double ours = Best(comparison.ours);
      const double baseline = Best(comparison.baseline);
      if (ours == 0 || baseline == 0) continue;
      std::printf("  %-41s / %-55s %6.2fx\n", comparison.ours.c_str(), comparison.baseline.c_str(), ours / baseline);
    }
  }

 private:
  double Best(const std::string& name) const {
    const auto found = figures_.find(name);
    return found == figures_.end() ? 0 : *std::max_element(found->second.begin(), found->second.end());
  }

  double Median(const std::string& name) const {
    const auto found = figures_.find(name);
    if (found == figures_.end()) return 0;
    std::vector<double> sorted = found->second;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }

  std::map<std::string, std::vector<double>> figures_;
  std::vector<std::string> order_;
  std::vector<Comparison> comparisons_;
};

// The defaults above, unless the command line sets them itself.
std::vector<char*> WithDefaults(int argc, char** argv) {
  static std::string defaults[] = {"--benchmark_repetitions=10", "--benchmark_enable_random_interleaving=true",
                                   "--benchmark_min_time=0.1"};
  std::vector<char*> arguments(argv, argv + argc);
  for (std::string& option : defaults) {
    const std::string flag = option.substr(0, option.find('=') + 1);
    const bool given = std::any_of(argv + 1, argv + argc, [&](const char* argument) {
      return std::string(argument).rfind(flag, 0) == 0;
    });
    if (!given) arguments.insert(arguments.begin() + 1, option.data());
  }
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  ThroughputReporter reporter;
  for (const auto& [label, size] : {std::pair{"1MiB", MiB}, std::pair{"64MiB", 64 * MiB}}) {
    const std::string encode = std::string("encode/") + label + "/";
    reporter.Register(encode + "EncodeBase64", EncodeQuendral, size);
    reporter.Register(encode + "memcpy", EncodeMemcpy, size);
    reporter.Register(encode + "EVP_EncodeBlock", EncodeOpenSsl, size, false);
    reporter.Register(encode + "EVP_EncodeBlock-new-buffer", EncodeOpenSsl, size, true);
    reporter.Compare(encode + "EncodeBase64", encode + "EVP_EncodeBlock");
    reporter.Compare(encode + "EncodeBase64", encode + "EVP_EncodeBlock-new-buffer");
    reporter.Compare(encode + "EncodeBase64", encode + "memcpy");

    const std::string oneLine = std::string("decode/") + label + "/one-line/";
    reporter.Register(oneLine + "DecodeBase64", DecodeQuendral, size, false);
    reporter.Register(oneLine + "EVP_DecodeBlock", DecodeOpenSslBlock, size, false);
    reporter.Register(oneLine + "EVP_DecodeBlock-new-buffer", DecodeOpenSslBlock, size, true);
    reporter.Compare(oneLine + "DecodeBase64", oneLine + "EVP_DecodeBlock");
    reporter.Compare(oneLine + "DecodeBase64", oneLine + "EVP_DecodeBlock-new-buffer");

    const std::string wrapped = std::string("decode/") + label + "/wrapped-76-crlf/";
    reporter.Register(wrapped + "DecodeBase64", DecodeQuendral, size, true);
    reporter.Register(wrapped + "EVP_DecodeUpdate", DecodeOpenSslUpdate, size, false);
    reporter.Register(wrapped + "EVP_DecodeUpdate-new-buffer", DecodeOpenSslUpdate, size, true);
    reporter.Compare(wrapped + "DecodeBase64", wrapped + "EVP_DecodeUpdate");
    reporter.Compare(wrapped + "DecodeBase64", wrapped + "EVP_DecodeUpdate-new-buffer");
  }

  std::vector<char*> arguments = WithDefaults(argc, argv);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
