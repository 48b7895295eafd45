// The collection half of the command (intersections, cleanup, ordering) on a
// realistic plan of 1,000, 10,000 and 50,000 selected lines and arcs: an
// orthogonal grid of axes across the whole plan, and walls (short lines,
// most of them far from each other) with door swings (quarter arcs) in its
// bays. The goal: 50,000 in under 5 s.

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "axis/collect_axes.h"
#include "cad/database.h"
#include "cad/selection_sets.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"

namespace tavrin {

namespace {

constexpr double kBay = 6000.0;

// Fills the current drawing with a plan of `count` lines and arcs and
// returns their ids in drawing order.
std::vector<AcDbObjectId> makePlan(int count) {
  cad::Database& db = cad::currentDatabase();
  std::vector<AcDbObjectId> ids;
  std::mt19937_64 rng(static_cast<unsigned>(count));
  const int gridLines = static_cast<int>(std::sqrt(count) / 4) + 2;
  const double size = kBay * (gridLines - 1);
  auto line = [&](double x1, double y1, double x2, double y2) {
    ids.push_back(
        db.append(std::make_unique<AcDbLine>(AcGePoint3d(x1, y1, 0), AcGePoint3d(x2, y2, 0))));
  };
  for (int i = 0; i < gridLines; ++i) line(i * kBay, -1500, i * kBay, size + 1500);
  for (int i = 0; i < gridLines; ++i) line(-1500, i * kBay, size + 1500, i * kBay);

  std::uniform_int_distribution<int> bay(0, gridLines - 2);
  std::uniform_real_distribution<double> within(200, kBay - 200);
  std::uniform_real_distribution<double> length(300, 3000);
  std::uniform_int_distribution<int> kind(0, 9);
  while (static_cast<int>(ids.size()) < count) {
    const double x = bay(rng) * kBay + within(rng), y = bay(rng) * kBay + within(rng);
    const int k = kind(rng);
    if (k == 0) {
      ids.push_back(db.append(
          std::make_unique<AcDbArc>(AcGePoint3d(x, y, 0), 900.0, 0.0, std::numbers::pi / 2)));
    } else if (k <= 5) {
      line(x, y, x + length(rng), y);
    } else {
      line(x, y, x, y + length(rng));
    }
  }
  return ids;
}

void collectPlan(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  cad::setCurrentDatabase(std::make_unique<cad::Database>());
  const std::vector<AcDbObjectId> ids = makePlan(count);
  ads_name selection = {cad::selectionSets().add(ids), 0};
  long points = 0;
  for (auto _ : state) {
    AxisSet axes;
    AcGePoint3dArray buffer(0, 8);
    if (!collectAxes(selection, axes, buffer)) state.SkipWithError("the collection was stopped");
    cleanAndOrderAxes(axes);
    points = 0;
    for (const Axis* a = axes.head(); a != nullptr; a = a->next) points += a->points.size();
    benchmark::DoNotOptimize(points);
  }
  cad::selectionSets().free(selection[0]);
  cad::setCurrentDatabase(nullptr);
  state.counters["axes"] = count;
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(collectPlan)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0);

// A full grid of n by n lines: every line crosses every line across it.
void collectFullGrid(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  cad::setCurrentDatabase(std::make_unique<cad::Database>());
  cad::Database& db = cad::currentDatabase();
  std::vector<AcDbObjectId> ids;
  const double size = 100.0 * (n - 1);
  for (int i = 0; i < n; ++i)
    ids.push_back(db.append(
        std::make_unique<AcDbLine>(AcGePoint3d(i * 100.0, 0, 0), AcGePoint3d(i * 100.0, size, 0))));
  for (int i = 0; i < n; ++i)
    ids.push_back(db.append(
        std::make_unique<AcDbLine>(AcGePoint3d(0, i * 100.0, 0), AcGePoint3d(size, i * 100.0, 0))));
  ads_name selection = {cad::selectionSets().add(ids), 0};
  for (auto _ : state) {
    AxisSet axes;
    AcGePoint3dArray buffer(0, 8);
    if (!collectAxes(selection, axes, buffer)) state.SkipWithError("the collection was stopped");
    cleanAndOrderAxes(axes);
    benchmark::DoNotOptimize(axes.head());
  }
  cad::selectionSets().free(selection[0]);
  cad::setCurrentDatabase(nullptr);
}
BENCHMARK(collectFullGrid)->Arg(600)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

}  // namespace tavrin
