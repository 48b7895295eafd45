// A script read answer by answer, each answer taken both as a point and as a
// selection clause on a small drawing: no crash, no point that is not finite,
// and a refused clause selects nothing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>

#include "cad/database.h"
#include "cad/point_answer.h"
#include "cad/script_input.h"
#include "cad/selection_builder.h"
#include "fuzz_check.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"

namespace {

const cad::Database& drawing() {
  static const cad::Database* database = [] {
    auto* db = new cad::Database;
    auto line = std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    line->setHandle(1);
    line->setLayer("AXIS");
    db->append(std::move(line));
    auto arc = std::make_unique<AcDbArc>(AcGePoint3d(5, 5, 0), 5, 0, std::numbers::pi);
    arc->setHandle(2);
    arc->setLayer("\xD6\xE1");
    db->append(std::move(arc));
    auto big = std::make_unique<AcDbArc>(AcGePoint3d(0, 0, 0), 1e300, 0, 2);
    big->setHandle(0x2F);
    db->append(std::move(big));
    return db;
  }();
  return *database;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cad::ScriptInput script("fuzz.scr", std::string_view(reinterpret_cast<const char*>(data), size));
  for (int answers = 0; answers < 10000; ++answers) {
    const cad::Answer answer = script.next();
    if (answer.kind == cad::Answer::Kind::kEnd) break;
    if (!answer.isLine()) continue;
    const auto point = cad::parsePointAnswer(answer.text);
    if (point.isOk())
      FUZZ_CHECK(std::isfinite(point->x) && std::isfinite(point->y) && std::isfinite(point->z));
    else
      FUZZ_CHECK(!point.message().empty());
    cad::SelectionBuilder builder(drawing());
    if (!builder.apply(answer.text).isOk()) FUZZ_CHECK(builder.ids().empty());
  }
  return 0;
}
