// The alignment check on a campus of 1,000 axes: 500 by 500 axes 1.8 m apart,
// 250,000 crossings per floor, against the same floor and against it moved
// 50 mm (every point a near miss).

#include <benchmark/benchmark.h>

#include "morlenview/floor_alignment.h"

namespace {

using morlenview::AlignmentFloor;

AlignmentFloor campus(int axesPerDirection, double dy) {
  AlignmentFloor floor;
  for (int i = 0; i < axesPerDirection; ++i)
    for (int j = 0; j < axesPerDirection; ++j) {
      const morlenview::PlanePoint p{1 + i * 1.8, 1 + j * 1.8 + dy};
      floor.points.push_back(p);
      floor.extent.add(p);
    }
  return floor;
}

void checkTwoFloors(benchmark::State& state, double dy) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<AlignmentFloor> floors = {campus(n, 0), campus(n, dy)};
  for (auto _ : state) benchmark::DoNotOptimize(morlenview::checkAlignment(floors));
  state.SetItemsProcessed(state.iterations() * 2 * n * n);
}

void BM_AlignedFloors(benchmark::State& state) {
  checkTwoFloors(state, 0.0);
}
void BM_ShiftedFloors(benchmark::State& state) {
  checkTwoFloors(state, 0.05);
}

BENCHMARK(BM_AlignedFloors)->Arg(125)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShiftedFloors)->Arg(125)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
