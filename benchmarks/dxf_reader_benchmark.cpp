// Reading speed of the DXF reader on a generated drawing of 200,000 lines and
// 20,000 arcs (about 30 MB), written once into a temporary file, and on the
// same drawing as binary DXF. Speeds are in bytes of the ASCII form per
// second for both, so that they compare.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cad/database.h"
#include "dxf/binary_group_reader.h"
#include "dxf/group_reader.h"
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

// The drawing in binary DXF: two-byte codes; the generated drawing has only
// strings and, for codes 10 to 59, doubles.
std::string toBinary(const std::string& ascii) {
  std::string out(cad::dxf::kBinaryDxfSentinel);
  cad::dxf::GroupReader groups(ascii);
  cad::dxf::Group group;
  base::Status error = base::Status::ok();
  auto little = [&out](std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  };
  while (groups.next(group, error) == cad::dxf::GroupStep::kPair) {
    little(static_cast<std::uint64_t>(group.code), 2);
    if (group.code >= 10 && group.code <= 59) {
      little(std::bit_cast<std::uint64_t>(*cad::dxf::parseReal(group.value)), 8);
    } else {
      out.append(group.value);
      out.push_back('\0');
    }
  }
  return out;
}

// The generated drawing's path; removed when the benchmark ends.
class DrawingFile {
 public:
  DrawingFile() {
    path_ = (std::filesystem::temp_directory_path() /
             ("tavrin-benchmark-" + std::to_string(::getpid()) + ".dxf"))
                .string();
    binaryPath_ = path_ + "b";
    contents_ = generateDrawing();
    binary_ = toBinary(contents_);
    write(path_, contents_);
    write(binaryPath_, binary_);
  }
  ~DrawingFile() {
    std::remove(path_.c_str());
    std::remove(binaryPath_.c_str());
  }
  const std::string& path(bool binary) const { return binary ? binaryPath_ : path_; }
  const std::string& contents() const { return contents_; }
  const std::string& binary() const { return binary_; }

 private:
  static void write(const std::string& path, const std::string& contents) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(contents.data(), 1, contents.size(), f) != contents.size()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      std::exit(1);
    }
    std::fclose(f);
  }

  std::string path_;
  std::string binaryPath_;
  std::string contents_;
  std::string binary_;
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

// File to drawing database, as the host loads a drawing; argument 1 for the
// binary form.
void loadIntoDatabase(benchmark::State& state) {
  const DrawingFile& file = drawing();
  const bool binary = state.range(0) == 1;
  for (auto _ : state) {
    auto database = cad::Database::loadDxf(file.path(binary));
    if (!database.isOk() || (*database)->entities().size() != kLines + kArcs) {
      state.SkipWithError(("load failed: " + database.message()).c_str());
      break;
    }
    benchmark::DoNotOptimize(database->get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(file.contents().size()));
  state.counters["megabytes"] =
      static_cast<double>((binary ? file.binary() : file.contents()).size()) / 1e6;
}
BENCHMARK(loadIntoDatabase)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parser alone, from the file already in memory; argument 1 for binary.
void parseText(benchmark::State& state) {
  const DrawingFile& file = drawing();
  const bool binary = state.range(0) == 1;
  for (auto _ : state) {
    CountingSink sink;
    cad::dxf::ReadResult result =
        cad::dxf::readDxf(binary ? file.binary() : file.contents(), "generated", sink);
    if (!result.ok() || sink.count != kLines + kArcs) {
      state.SkipWithError("parse failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long>(file.contents().size()));
}
BENCHMARK(parseText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
