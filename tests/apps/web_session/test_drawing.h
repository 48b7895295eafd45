#pragma once

#include <memory>

#include "cad/database.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"

// A small drawing with awkward coordinates: two lines crossing at a point no
// decimal writes exactly, an arc over them, and a circle and a text that are
// only drawn. Entity indexes: 0 and 1 the lines, 2 the arc.
inline std::unique_ptr<cad::Database> crossingDrawing() {
  auto database = std::make_unique<cad::Database>();
  auto& a = database->emplace<AcDbLine>(AcGePoint3d(0.1, 0.2, 0), AcGePoint3d(1000.3, 700.7, 0));
  a.setLayer("AXIS");
  a.setHandle(0x1A);
  auto& b = database->emplace<AcDbLine>(AcGePoint3d(0.3, 650.9, 0), AcGePoint3d(990.1, 3.3, 0));
  b.setLayer("AXIS");
  b.setHandle(0x1B);
  auto& circle = database->emplace<AcDbCircle>();
  circle.centre = AcGePoint3d(-50, -50, 0);
  circle.radius = 10;
  circle.setLayer("WALL");
  auto& arc = database->emplace<AcDbArc>(AcGePoint3d(500.05, 350.2, 0), 123.456, 0.0, 3.0);
  arc.setLayer("WALL");
  arc.setHandle(0x2F);
  auto& text = database->emplace<AcDbText>();
  text.position = AcGePoint3d(20, 30, 0);
  return database;
}
