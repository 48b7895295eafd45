#include "cad/drawing_summary.h"

#include <gtest/gtest.h>

#include <memory>
#include <numbers>
#include <string>

#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"

namespace {

TEST(DrawingSummary, TellsUnitExtentsAndTheLayersOfLinesAndArcs) {
  cad::Database db;
  const auto add = [&](std::unique_ptr<AcDbEntity> entity, const char* layer) {
    entity->setLayer(layer);
    db.append(std::move(entity));
  };
  add(std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(10000, 0, 0)), "AXIS");
  // A quarter arc about (0,0) of radius 5000 from 90 to 180 degrees: reaches
  // x = -5000 at its end and y = 5000 at its start.
  add(std::make_unique<AcDbArc>(AcGePoint3d(0, 0, 0), 5000, std::numbers::pi / 2, std::numbers::pi),
      "AXIS");
  add(std::make_unique<AcDbLine>(AcGePoint3d(0, -100, 0), AcGePoint3d(100, -100, 0)),
      "\xC7\xBD");  // 墙
  // Back on a layer seen before: counted there, listed once.
  add(std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 100, 0)), "AXIS");
  auto circle = std::make_unique<AcDbCircle>();
  circle->centre = AcGePoint3d(20000, 0, 0);
  circle->radius = 1000;
  add(std::move(circle), "COLUMN");
  db.setDeclaredUnits(4);
  EXPECT_EQ(cad::drawingSummary(db, "plan.dxf"),
            "Drawing plan.dxf: 5 entities; declared unit millimetres ($INSUNITS 4)\n"
            "  extents: -5000,-1000 to 21000,5000 (width 26000, height 6000)\n"
            "  layers with LINE or ARC:\n"
            "    AXIS: 2 LINE, 1 ARC\n"
            "    墙: 1 LINE\n");

  cad::Database empty;
  EXPECT_EQ(cad::drawingSummary(empty, "none.dxf"),
            "Drawing none.dxf: 0 entities; declared unit not given ($INSUNITS absent)\n"
            "  no LINE or ARC on any layer\n");
  EXPECT_EQ(cad::insUnitsName(0), "unitless");
  EXPECT_EQ(cad::insUnitsName(99), "code 99");
}

}  // namespace
