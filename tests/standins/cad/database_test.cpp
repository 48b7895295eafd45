#include "cad/database.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "cad/selection_builder.h"
#include "cad/selection_sets.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"

namespace {

std::string dataPath(const std::string& name) {
  const char* dir = std::getenv("TAVRIN_TEST_DATA");
  return std::string(dir != nullptr ? dir : "tests/data") + "/dxf/" + name;
}

std::unique_ptr<cad::Database> load(const std::string& name) {
  auto database = cad::Database::loadDxf(dataPath(name));
  EXPECT_TRUE(database.isOk()) << database.message();
  return database.isOk() ? std::move(database).value() : nullptr;
}

double degrees(double radians) {
  return radians * 180.0 / std::numbers::pi;
}

// Makes a fresh empty drawing current for each test and again after it.
class CurrentDrawing : public ::testing::Test {
 protected:
  void SetUp() override { cad::setCurrentDatabase(nullptr); }
  void TearDown() override { cad::setCurrentDatabase(nullptr); }
};

TEST(DatabaseLoad, GivesEachDxfTypeItsClass) {
  for (const char* file : {"r2000.dxf", "r2010.dxf", "r2000_crlf.dxf"}) {
    auto database = load(file);
    ASSERT_NE(database, nullptr);
    std::vector<std::string> names;
    for (const auto& entity : database->entities()) names.push_back(entity->isA()->name());
    const std::vector<std::string> expected = {
        "AcDbLine",           "AcDbArc",        "AcDbCircle",   "AcDbPoint", "AcDbText",
        "AcDbBlockReference", "AcDb2dPolyline", "AcDbPolyline", "AcDbMText", "AcDbGenericEntity"};
    EXPECT_EQ(names, expected) << file;
    auto* generic = static_cast<AcDbGenericEntity*>(database->entities().back().get());
    EXPECT_EQ(generic->dxfName, "HATCH") << file;
    auto* line = acrxClassTest<AcDbLine>(database->entities()[0].get());
    ASSERT_NE(line, nullptr) << file;
    EXPECT_EQ(line->layer(), "AXIS") << file;
    EXPECT_EQ(line->endPoint(), AcGePoint3d(10000, 0, 0)) << file;
    auto* arc = acrxClassTest<AcDbArc>(database->entities()[1].get());
    ASSERT_NE(arc, nullptr) << file;
    EXPECT_EQ(arc->center(), AcGePoint3d(5000, 0, 0)) << file;
    EXPECT_EQ(arc->radius(), 3000.0) << file;
    EXPECT_NEAR(degrees(arc->startAngle()), 30, 1e-12) << file;
    EXPECT_NEAR(degrees(arc->endAngle()), 150, 1e-12) << file;
    EXPECT_NE(line->handle(), arc->handle()) << file;
    EXPECT_TRUE(database->warnings().empty()) << file;
  }
}

TEST(DatabaseLoad, StoresMirroredArcsAsCounterClockwiseArcsAndWarnsOfTiltedOnes) {
  auto database = load("mirrored_arc.dxf");
  ASSERT_NE(database, nullptr);
  ASSERT_EQ(database->entities().size(), 3u);
  struct Expected {
    double cx, cy, start, end;
  } expected[] = {{-10, 5, 60, 150}, {-10, 5, 160, 240}};
  for (std::size_t i = 0; i < 2; ++i) {
    auto* arc = acrxClassTest<AcDbArc>(database->entities()[i].get());
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->center().x, expected[i].cx, 1e-12) << i;
    EXPECT_NEAR(arc->center().y, expected[i].cy, 1e-12) << i;
    EXPECT_NEAR(degrees(arc->startAngle()), expected[i].start, 1e-9) << i;
    EXPECT_NEAR(degrees(arc->endAngle()), expected[i].end, 1e-9) << i;
  }
  ASSERT_EQ(database->warnings().size(), 1u);
  EXPECT_NE(database->warnings()[0].find("mirrored_arc.dxf:"), std::string::npos);
}

TEST(DatabaseLoad, HoldsChineseLayerNamesAndTextsInCodePage936) {
  const std::string axis = "\xD6\xE1\xCF\xDF";           // 轴线
  const std::string floor = "\xB1\xEA\xD7\xBC\xB2\xE3";  // 标准层
  for (const char* file : {"chinese_ansi_936.dxf", "chinese_r2010.dxf", "chinese_escaped.dxf"}) {
    auto database = load(file);
    ASSERT_NE(database, nullptr);
    ASSERT_GE(database->entities().size(), 1u) << file;
    EXPECT_EQ(database->entities()[0]->layer(), axis) << file;
    if (database->entities().size() > 1) {
      auto* text = acrxClassTest<AcDbText>(database->entities()[1].get());
      ASSERT_NE(text, nullptr) << file;
      EXPECT_EQ(text->text, floor) << file;
    }
  }
}

// Two layers that code page 936 turns into the same "AXIS-???" stay apart:
// each is selected by its name as the drawing has it.
TEST(DatabaseLoad, SelectsLayersThatCodePage936CannotHoldByTheirExactName) {
  auto database = load("non_936_layer.dxf");
  ASSERT_NE(database, nullptr);
  ASSERT_EQ(database->entities().size(), 3u);
  EXPECT_EQ(database->entities()[0]->layer(), database->entities()[1]->layer());
  const std::string first = "AXIS-\xE0\xB9\x81\xE0\xB8\x81\xE0\xB8\x99";   // AXIS-แกน
  const std::string second = "AXIS-\xE0\xB8\xA5\xE0\xB8\xB2\xE0\xB8\xA2";  // AXIS-ลาย
  ASSERT_NE(database->exactLayerName(database->entities()[0]->objectId()), nullptr);
  EXPECT_EQ(*database->exactLayerName(database->entities()[0]->objectId()), first);
  EXPECT_EQ(database->exactLayerName(database->entities()[2]->objectId()), nullptr);  // 轴线
  struct Case {
    std::string clause;
    std::vector<std::size_t> expected;  // entity positions
  } cases[] = {
      {"layer " + first, {0}},
      {"layer axis-\xE0\xB8\xA5\xE0\xB8\xB2\xE0\xB8\xA2", {1}},
      {"layer \xE8\xBD\xB4\xE7\xBA\xBF " + second, {1, 2}},
      {"layer AXIS-???", {}},
  };
  for (const Case& c : cases) {
    cad::SelectionBuilder builder(*database);
    const base::Status applied = builder.apply(c.clause);
    ASSERT_TRUE(applied.isOk()) << c.clause << ": " << applied.message();
    std::vector<AcDbObjectId> expected;
    for (std::size_t i : c.expected) expected.push_back(database->entities()[i]->objectId());
    EXPECT_EQ(builder.ids(), expected) << c.clause;
  }
  cad::SelectionBuilder builder(*database);
  const base::Status refused = builder.apply("layer AXIS-\xE0\xB8\x81");
  ASSERT_FALSE(refused.isOk());
  EXPECT_NE(refused.message().find("cannot be written in code page 936 and no layer has it"),
            std::string::npos);
}

TEST(DatabaseLoad, OpensBinaryDrawingsAndTellsUnwritableTextsOnce) {
  auto binary = load("binary_r2018.dxf");
  auto ascii = load("ascii_r2018.dxf");
  ASSERT_NE(binary, nullptr);
  ASSERT_NE(ascii, nullptr);
  ASSERT_EQ(binary->entities().size(), ascii->entities().size());
  for (std::size_t i = 0; i < binary->entities().size(); ++i) {
    EXPECT_EQ(binary->entities()[i]->isA(), ascii->entities()[i]->isA()) << i;
    EXPECT_EQ(binary->entities()[i]->layer(), ascii->entities()[i]->layer()) << i;
    EXPECT_EQ(binary->entities()[i]->handle(), ascii->entities()[i]->handle()) << i;
  }
  // Two texts with U+FFFD, which code page 936 cannot hold: the reader's
  // warning and one of the database, not one per text.
  auto undefined = load("undefined_bytes.dxf");
  ASSERT_NE(undefined, nullptr);
  EXPECT_EQ(undefined->warnings().size(), 2u);
}

TEST(DatabaseLoad, FailsWithFileAndLineAndNoDrawing) {
  struct Case {
    const char* file;
    const char* message;
  } cases[] = {{"non_numeric.dxf", "is not a number"},
               {"truncated.dxf", "the file ends"},
               {"garbage.dxf", "not a DXF drawing"},
               {"missing.dxf", "cannot open"}};
  for (const Case& c : cases) {
    auto database = cad::Database::loadDxf(dataPath(c.file));
    EXPECT_FALSE(database.isOk()) << c.file;
    const std::string& error = database.message();
    EXPECT_EQ(error.rfind(dataPath(c.file), 0), 0u) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  const std::string error = cad::Database::loadDxf(dataPath("non_numeric.dxf")).message();
  EXPECT_NE(error.find("non_numeric.dxf:1"), std::string::npos) << error;  // a line number
}

// A line that counts its destructions.
class CountedLine : public AcDbLine {
 public:
  explicit CountedLine(int* destroyed, double x = 0)
      : AcDbLine({x, 0, 0}, {x, 1, 0}), destroyed_(destroyed) {}
  ~CountedLine() override { ++*destroyed_; }

 private:
  int* destroyed_;
};

TEST(Database, HoldsBuiltAndHandedOverEntitiesInOneOrderAndEndsEachOnce) {
  int destroyed = 0;
  {
    cad::Database database;
    std::vector<AcDbObjectId> ids;
    for (int i = 0; i < 300; ++i) {
      if (i % 3 == 0)
        ids.push_back(database.append(std::make_unique<CountedLine>(&destroyed, i)));
      else
        ids.push_back(database.emplace<CountedLine>(&destroyed, i).objectId());
    }
    ASSERT_EQ(database.entities().size(), 300u);
    for (int i = 0; i < 300; ++i) {
      AcDbEntity* entity = database.find(ids[static_cast<std::size_t>(i)]);
      ASSERT_EQ(entity, database.entities()[static_cast<std::size_t>(i)].get()) << i;
      EXPECT_EQ(static_cast<AcDbLine*>(entity)->startPoint().x, i) << i;
    }
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 300);
}

TEST(Database, GivesIdsThatOnlyItsOwnEntitiesAnswer) {
  cad::Database first;
  cad::Database second;
  AcDbObjectId a = first.append(std::make_unique<AcDbLine>());
  AcDbObjectId b = first.append(std::make_unique<AcDbArc>());
  AcDbObjectId c = second.append(std::make_unique<AcDbLine>());
  EXPECT_FALSE(a.isNull());
  EXPECT_NE(a, b);
  EXPECT_NE(a, c);
  EXPECT_EQ(first.find(a), first.entities()[0].get());
  EXPECT_EQ(first.find(b)->objectId(), b);
  EXPECT_EQ(first.find(c), nullptr);
  EXPECT_EQ(second.find(a), nullptr);
  EXPECT_EQ(first.find(AcDbObjectId()), nullptr);
  EXPECT_EQ(first.find(AcDbObjectId(b.value() + 1)), nullptr);
}

TEST_F(CurrentDrawing, OpensForReadOnlyAndCountsOpenObjects) {
  auto database = std::make_unique<cad::Database>();
  AcDbObjectId lineId = database->append(std::make_unique<AcDbLine>());
  AcDbObjectId erasedId = database->append(std::make_unique<AcDbArc>());
  database->find(erasedId)->setErased(true);
  cad::Database& current = *database;
  cad::setCurrentDatabase(std::move(database));

  AcDbObject* object = reinterpret_cast<AcDbObject*>(1);
  struct Case {
    const char* label;
    AcDbObjectId id;
    AcDb::OpenMode mode;
    bool openErased;
    Acad::ErrorStatus status;
  } refused[] = {
      {"for write", lineId, AcDb::kForWrite, false, Acad::eInvalidInput},
      {"for notify", lineId, AcDb::kForNotify, false, Acad::eInvalidInput},
      {"null id", AcDbObjectId(), AcDb::kForRead, false, Acad::eNullObjectId},
      {"unknown id", AcDbObjectId(lineId.value() + 99), AcDb::kForRead, false,
       Acad::eUnknownHandle},
      {"erased", erasedId, AcDb::kForRead, false, Acad::eWasErased},
  };
  for (const Case& c : refused) {
    object = reinterpret_cast<AcDbObject*>(1);
    EXPECT_EQ(acdbOpenAcDbObject(object, c.id, c.mode, c.openErased), c.status) << c.label;
    EXPECT_EQ(object, nullptr) << c.label;
  }
  EXPECT_EQ(current.openObjectCount(), 0);

  ASSERT_EQ(acdbOpenAcDbObject(object, lineId, AcDb::kForRead), Acad::eOk);
  ASSERT_NE(acrxClassTest<AcDbLine>(object), nullptr);
  AcDbObject* again = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(again, lineId, AcDb::kForRead), Acad::eOk);
  AcDbObject* erased = nullptr;
  ASSERT_EQ(acdbOpenAcDbObject(erased, erasedId, AcDb::kForRead, true), Acad::eOk);
  EXPECT_EQ(current.openObjectCount(), 2);
  EXPECT_EQ(object->openCount(), 2);
  EXPECT_EQ(object->close(), Acad::eOk);
  EXPECT_EQ(again->close(), Acad::eOk);
  EXPECT_EQ(object->close(), Acad::eInvalidOpenState);
  EXPECT_EQ(erased->close(), Acad::eOk);
  EXPECT_EQ(current.openObjectCount(), 0);
}

TEST_F(CurrentDrawing, NamesEntitiesOnlyOfTheCurrentDrawing) {
  auto database = std::make_unique<cad::Database>();
  AcDbObjectId id = database->append(std::make_unique<AcDbLine>());
  cad::setCurrentDatabase(std::move(database));

  ads_name name = {static_cast<long>(id.value()), 0};
  AcDbObjectId found;
  EXPECT_EQ(acdbGetObjectId(found, name), Acad::eOk);
  EXPECT_EQ(found, id);
  EXPECT_NE(c5ObjIdIsEqualTo(found, id), 0);

  ads_name bogus = {12345, 0};
  EXPECT_EQ(acdbGetObjectId(found, bogus), Acad::eUnknownHandle);
  EXPECT_TRUE(found.isNull());

  cad::setCurrentDatabase(nullptr);  // another drawing: the old name names nothing
  EXPECT_EQ(acdbGetObjectId(found, name), Acad::eUnknownHandle);
  AcDbObject* object = nullptr;
  EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eUnknownHandle);
}

TEST(ObjectIds, CompareEqualOnlyForTheSameObject) {
  AcDbObjectId a(5), b(5), c(6), null;
  EXPECT_NE(c5ObjIdIsEqualTo(a, b), 0);
  EXPECT_EQ(c5ObjIdIsEqualTo(a, c), 0);
  EXPECT_EQ(c5ObjIdIsEqualTo(null, null), 0);  // null names no object
}

TEST(DatabaseClasses, DeriveAsTheHostDescribes) {
  struct Case {
    AcRxClass* descriptor;
    const char* name;
    AcRxClass* parent;
  } cases[] = {
      {AcDbObject::desc(), "AcDbObject", AcRxObject::desc()},
      {AcDbEntity::desc(), "AcDbEntity", AcDbObject::desc()},
      {AcDbCurve::desc(), "AcDbCurve", AcDbEntity::desc()},
      {AcDbLine::desc(), "AcDbLine", AcDbCurve::desc()},
      {AcDbArc::desc(), "AcDbArc", AcDbCurve::desc()},
      {AcDbCircle::desc(), "AcDbCircle", AcDbCurve::desc()},
      {AcDbPolyline::desc(), "AcDbPolyline", AcDbCurve::desc()},
      {AcDb2dPolyline::desc(), "AcDb2dPolyline", AcDbCurve::desc()},
      {AcDbText::desc(), "AcDbText", AcDbEntity::desc()},
      {AcDbMText::desc(), "AcDbMText", AcDbEntity::desc()},
      {AcDbBlockReference::desc(), "AcDbBlockReference", AcDbEntity::desc()},
      {AcDbPoint::desc(), "AcDbPoint", AcDbEntity::desc()},
      {AcDbGenericEntity::desc(), "AcDbGenericEntity", AcDbEntity::desc()},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(c.descriptor->name(), c.name);
    EXPECT_EQ(c.descriptor->myParent(), c.parent) << c.name;
    EXPECT_TRUE(c.descriptor->isDerivedFrom(AcDbObject::desc())) << c.name;
  }
  AcDbLine line;
  AcDbText text;
  EXPECT_EQ(line.isA(), AcDbLine::desc());
  EXPECT_NE(acrxClassTest<AcDbObject>(&line), nullptr);
  EXPECT_NE(acrxClassTest<AcDbCurve>(&line), nullptr);
  EXPECT_EQ(acrxClassTest<AcDbArc>(&line), nullptr);
  EXPECT_EQ(acrxClassTest<AcDbCurve>(&text), nullptr);
  EXPECT_FALSE(AcDbEntity::desc()->isDerivedFrom(AcDbLine::desc()));
}

TEST_F(CurrentDrawing, ReplacingTheDrawingFreesItsSelectionSets) {
  long key = cad::selectionSets().add({AcDbObjectId(1)});
  ASSERT_NE(cad::selectionSets().find(key), nullptr);
  auto previous = cad::setCurrentDatabase(std::make_unique<cad::Database>());
  EXPECT_NE(previous, nullptr);
  EXPECT_EQ(cad::selectionSets().find(key), nullptr);
  EXPECT_EQ(cad::selectionSets().size(), 0u);
  EXPECT_TRUE(cad::currentDatabase().entities().empty());
}

}  // namespace
