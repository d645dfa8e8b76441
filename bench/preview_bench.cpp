// describe() of a 2 MB studio model (24 bones, 110 sequences of 30 frames, 4 textures of 512 × 512 and
// 60,000 vertices, about the size of the game's largest player models), beside copying the same bytes
// and reading them from a file: the pane must show it within 30 ms.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "preview/preview.h"

namespace {

struct Out {
  std::string bytes;
  void i32(std::int64_t v) { for (int i = 0; i < 4; ++i) bytes += static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i)); }
  void f32(float v) { std::uint32_t b; std::memcpy(&b, &v, 4); i32(b); }
  void u16(int v) { bytes += static_cast<char>(v & 0xff); bytes += static_cast<char>(v >> 8); }
  void field(const std::string& s, std::size_t n) { bytes += s + std::string(n - s.size(), '\0'); }
  void patch(std::size_t at, std::int64_t v) { for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i)); }
};

std::string largeModel() {
  constexpr int kBones = 24, kSequences = 110, kFrames = 30, kTextures = 4, kSide = 512, kVertices = 60000;
  std::mt19937 random(1374);
  Out o;
  o.bytes = "IDST";
  o.i32(10);
  o.field("gign", 64);
  o.bytes.resize(244, '\0');
  o.patch(140, kBones), o.patch(144, o.bytes.size());
  for (int b = 0; b < kBones; ++b) {
    o.field("bone" + std::to_string(b), 32);
    o.i32(b - 1), o.i32(0);
    for (int i = 0; i < 6; ++i) o.i32(-1);
    for (int i = 0; i < 6; ++i) o.f32(static_cast<float>(random() % 10));
    for (int i = 0; i < 6; ++i) o.f32(0.01f);
  }
  o.patch(164, kSequences), o.patch(168, o.bytes.size());
  const std::size_t sequences = o.bytes.size();
  o.bytes.resize(sequences + 176u * kSequences, '\0');
  o.patch(172, 1);
  o.patch(204, 1), o.patch(208, o.bytes.size());
  o.field("body", 64), o.i32(1), o.i32(1), o.i32(static_cast<std::int64_t>(o.bytes.size()) + 4);
  const std::size_t model = o.bytes.size();
  o.bytes.resize(model + 112, '\0');
  o.patch(model + 80, kVertices), o.patch(model + 88, o.bytes.size());
  for (int v = 0; v < kVertices * 3; ++v) o.f32(static_cast<float>(random() % 60) - 30);
  for (int s = 0; s < kSequences; ++s) {
    o.patch(sequences + 176u * s + 56, kFrames);
    o.patch(sequences + 176u * s + 124, o.bytes.size());
    const std::size_t anim = o.bytes.size();
    o.bytes.resize(anim + 12u * kBones, '\0');
    for (int j = 0; j < 3; ++j) {
      o.bytes[anim + 2 * j] = static_cast<char>(12u * kBones + 2 * j * (kFrames + 1) - 0);
      o.bytes[anim + 2 * j + 1] = static_cast<char>((12u * kBones + 2 * j * (kFrames + 1)) >> 8);
    }
    for (int j = 0; j < 3; ++j) {
      o.bytes += static_cast<char>(kFrames), o.bytes += static_cast<char>(kFrames);
      for (int f = 0; f < kFrames; ++f) o.u16(static_cast<int>(random() % 2000));
    }
  }
  o.patch(180, kTextures), o.patch(184, o.bytes.size());
  const std::size_t table = o.bytes.size();
  o.bytes.resize(table + 80u * kTextures, '\0');
  for (int t = 0; t < kTextures; ++t) {
    std::memcpy(&o.bytes[table + 80u * t], "skin", 4);
    o.patch(table + 80u * t + 68, kSide), o.patch(table + 80u * t + 72, kSide), o.patch(table + 80u * t + 76, o.bytes.size());
    for (int p = 0; p < kSide * kSide + 768; ++p) o.bytes += static_cast<char>(random());
  }
  o.bytes.resize(2 * 1024 * 1024, '\0');
  o.patch(72, o.bytes.size());
  return o.bytes;
}

}  // namespace

int main() {
  const std::string bytes = largeModel();
  const auto file = std::filesystem::temp_directory_path() / ("varnikit-preview-bench-" + std::to_string(std::random_device{}()) + ".mdl");
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  constexpr int kRuns = 30;
  std::vector<double> describeMs, warningsMs, copyMs, readMs;
  std::size_t sink = 0;
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    const auto preview = preview::describe("models\\player\\gign\\gign.mdl", bytes, nullptr);
    describeMs.push_back(bench::secondsSince(start) * 1000);
    sink += preview.pictures.size() + preview.damage.size();
    if (run == 0) std::printf("%s\n%s\n%s\n", preview.facts[0].c_str(), preview.facts[1].c_str(), preview.damage.c_str());
    start = std::chrono::steady_clock::now();
    sink += preview::warnings("models\\player\\gign\\gign.mdl", bytes, nullptr).size();
    warningsMs.push_back(bench::secondsSince(start) * 1000);
    start = std::chrono::steady_clock::now();
    std::string copy = bytes;
    copyMs.push_back(bench::secondsSince(start) * 1000);
    sink += static_cast<unsigned char>(copy[copy.size() / 2]);
    start = std::chrono::steady_clock::now();
    std::ifstream in(file, std::ios::binary);
    std::string read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    readMs.push_back(bench::secondsSince(start) * 1000);
    sink += read.size();
  }
  std::filesystem::remove(file);
  std::printf("describe() of a %zu-byte model: median %.2f ms (goal under 30 ms)\n", bytes.size(), bench::median(describeMs));
  std::printf("warnings() of the same model: median %.2f ms\n", bench::median(warningsMs));
  std::printf("reference: copying its bytes %.2f ms, reading them from a file %.2f ms (%zu)\n", bench::median(copyMs),
              bench::median(readMs), sink % 10);
  return 0;
}
