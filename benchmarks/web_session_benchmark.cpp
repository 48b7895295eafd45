// The web session's drawing data on big drawings: reading a database of
// lines and arcs into the page's form with its snap index, and the snap and
// pick queries the page sends while the cursor moves (an axis grid, so that
// every probe has ends and crossings in reach).

#include <benchmark/benchmark.h>

#include <random>

#include "cad/database.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "web_session/drawing_data.h"
#include "web_session/snap_index.h"

namespace {

// `count` segments: a grid of axes 6 m apart cut into bays, and an arc per
// hundred segments.
std::unique_ptr<cad::Database> grid(long count) {
  auto database = std::make_unique<cad::Database>();
  const long perRow = 500;
  for (long i = 0; i < count; ++i) {
    const double x = static_cast<double>(i % perRow) * 6000.0;
    const double y = static_cast<double>(i / perRow) * 6000.0;
    if (i % 100 == 0)
      database->emplace<AcDbArc>(AcGePoint3d(x, y, 0), 3000.0, 0.0, 1.5);
    else if (i % 2 == 0)
      database->emplace<AcDbLine>(AcGePoint3d(x, y, 0), AcGePoint3d(x + 6000.0, y, 0));
    else
      database->emplace<AcDbLine>(AcGePoint3d(x, y, 0), AcGePoint3d(x, y + 6000.0, 0));
  }
  return database;
}

void BM_ReadAndIndex(benchmark::State& state) {
  const auto database = grid(state.range(0));
  for (auto _ : state) {
    const web::DrawingData data = web::DrawingData::read(*database);
    const web::SnapIndex index(data);
    benchmark::DoNotOptimize(data.encode());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void query(benchmark::State& state, bool snap) {
  const auto database = grid(state.range(0));
  const web::DrawingData data = web::DrawingData::read(*database);
  const web::SnapIndex index(data);
  std::mt19937 random(1);
  std::uniform_real_distribution<double> x(data.extents.minX, data.extents.maxX),
      y(data.extents.minY, data.extents.maxY);
  // 10 pixels on a screen showing about 60 m.
  const double r = 60000.0 / 1000 * 10;
  for (auto _ : state) {
    if (snap)
      benchmark::DoNotOptimize(index.snap(x(random), y(random), r));
    else
      benchmark::DoNotOptimize(index.pick(x(random), y(random), r));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_Snap(benchmark::State& state) {
  query(state, true);
}
void BM_Pick(benchmark::State& state) {
  query(state, false);
}

BENCHMARK(BM_ReadAndIndex)->Arg(11450)->Arg(500000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Snap)->Arg(11450)->Arg(500000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Pick)->Arg(11450)->Arg(500000)->Unit(benchmark::kMicrosecond);

}  // namespace
