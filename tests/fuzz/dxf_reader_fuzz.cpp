// The DXF reader on any bytes: it must end with entities or an error, never
// crash, hang or hand on values that are not finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dxf/reader.h"
#include "fuzz_check.h"

namespace {

class CountingSink final : public cad::dxf::EntitySink {
 public:
  void entity(const cad::dxf::Entity&) override { ++count; }
  std::size_t count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CountingSink sink;
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  const cad::dxf::ReadResult result = cad::dxf::readDxf(contents, "fuzz.dxf", sink);
  FUZZ_CHECK(result.ok() || !result.status.message().empty());
  FUZZ_CHECK(!result.ok() || result.entityCount == sink.count);
  FUZZ_CHECK(result.warnings.size() <= cad::dxf::ReadResult::kMaxWarnings + 1);
  return 0;
}
