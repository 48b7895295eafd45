// Reading speed of the DXF reader on a generated drawing of 200,000 lines and
// 20,000 arcs (about 30 MB), written once into a temporary file. The goal is
// at least 100 MB/s for the whole load into the drawing database.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cad/database.h"
#include "dxf/reader.h"

namespace {

constexpr int kLines = 200000;
constexpr int kArcs = 20000;

void appendEntity(std::string& out, const char* type, unsigned handle, const char* subclass) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer,
                "  0\n%s\n  5\n%X\n100\nAcDbEntity\n  8\nAXIS-GRID\n100\n%s\n", type, handle,
                subclass);
  out += buffer;
}

void appendReal(std::string& out, int code, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%3d\n%.3f\n", code, value);
  out += buffer;
}

// A drawing in the 2000 format as drawing programs write it.
std::string generateDrawing() {
  std::string out;
  out.reserve(32u << 20);
  out +=
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_936\n"
      "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n";
  unsigned handle = 0x100;
  for (int i = 0; i < kLines; ++i) {
    appendEntity(out, "LINE", handle++, "AcDbLine");
    double x = 512345.678 + (i % 1000) * 6000.125;
    double y = 3012345.25 + (i / 1000) * 4500.375;
    appendReal(out, 10, x);
    appendReal(out, 20, y);
    appendReal(out, 30, 0.0);
    appendReal(out, 11, x + 5999.5);
    appendReal(out, 21, y + 0.125);
    appendReal(out, 31, 0.0);
  }
  for (int i = 0; i < kArcs; ++i) {
    appendEntity(out, "ARC", handle++, "AcDbCircle");
    appendReal(out, 10, 600000.5 + i * 10.25);
    appendReal(out, 20, 3100000.75 - i * 3.5);
    appendReal(out, 30, 0.0);
    appendReal(out, 40, 4500.0 + i % 100);
    out += "100\nAcDbArc\n";
    appendReal(out, 50, (i % 360) * 1.0);
    appendReal(out, 51, ((i + 90) % 360) * 1.0);
  }
  out += "  0\nENDSEC\n  0\nEOF\n";
  return out;
}

// The generated drawing's path; removed when the benchmark ends.
class DrawingFile {
 public:
  DrawingFile() {
    path_ = (std::filesystem::temp_directory_path() /
             ("tavrin-benchmark-" + std::to_string(::getpid()) + ".dxf"))
                .string();
    contents_ = generateDrawing();
    FILE* f = std::fopen(path_.c_str(), "wb");
    if (f == nullptr || std::fwrite(contents_.data(), 1, contents_.size(), f) != contents_.size()) {
      std::fprintf(stderr, "cannot write %s\n", path_.c_str());
      std::exit(1);
    }
    std::fclose(f);
  }
  ~DrawingFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }
  const std::string& contents() const { return contents_; }

 private:
  std::string path_;
  std::string contents_;
};

const DrawingFile& drawing() {
  static DrawingFile file;
  return file;
}

class CountingSink final : public cad::dxf::EntitySink {
 public:
  void entity(const cad::dxf::Entity&) override { ++count; }
  long count = 0;
};

// File to drawing database, as the host loads a drawing.
void loadIntoDatabase(benchmark::State& state) {
  const DrawingFile& file = drawing();
  for (auto _ : state) {
    std::string error;
    auto database = cad::Database::loadDxf(file.path(), &error);
    if (!database || database->entities().size() != kLines + kArcs) {
      state.SkipWithError(("load failed: " + error).c_str());
      break;
    }
    benchmark::DoNotOptimize(database.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(file.contents().size()));
  state.counters["megabytes"] = static_cast<double>(file.contents().size()) / 1e6;
}
BENCHMARK(loadIntoDatabase)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parser alone, from text already in memory.
void parseText(benchmark::State& state) {
  const DrawingFile& file = drawing();
  for (auto _ : state) {
    CountingSink sink;
    cad::dxf::ReadResult result = cad::dxf::readDxf(file.contents(), "generated", sink);
    if (!result.ok() || sink.count != kLines + kArcs) {
      state.SkipWithError("parse failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(file.contents().size()));
}
BENCHMARK(parseText)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
