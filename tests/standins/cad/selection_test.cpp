#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cad/command_line.h"
#include "cad/database.h"
#include "cad/input_source.h"
#include "cad/selection_builder.h"
#include "cad/selection_sets.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"
#include "host/ads.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A drawing of one of each kind, handles 1 to 9 in this order:
//   1 LINE  (0,0)-(10,0)       layer "Axis"
//   2 LINE  (5,-5)-(5,5)       layer "AXIS"
//   3 ARC   centre (20,0) r 5, 0..90 degrees   layer "arcs"
//   4 CIRCLE centre (40,0) r 2  layer "0"
//   5 LWPOLYLINE (0,20),(10,20),(10,30) layer "0"
//   6 TEXT at (50,50)           layer "轴线" (code page 936)
//   7 POINT at (1,1)            layer "0"
//   8 HATCH (no geometry)       layer "0"
//   9 LINE  (100,100)-(110,100) layer "Axis"
std::unique_ptr<cad::Database> sampleDrawing() {
  auto db = std::make_unique<cad::Database>();
  auto add = [&](std::unique_ptr<AcDbEntity> e, unsigned long long handle, const char* layer) {
    e->setHandle(handle);
    e->setLayer(layer);
    db->append(std::move(e));
  };
  add(std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)), 1, "Axis");
  add(std::make_unique<AcDbLine>(AcGePoint3d(5, -5, 0), AcGePoint3d(5, 5, 0)), 2, "AXIS");
  add(std::make_unique<AcDbArc>(AcGePoint3d(20, 0, 0), 5, 0, kPi / 2), 3, "arcs");
  auto circle = std::make_unique<AcDbCircle>();
  circle->centre = AcGePoint3d(40, 0, 0);
  circle->radius = 2;
  add(std::move(circle), 4, "0");
  auto polyline = std::make_unique<AcDbPolyline>();
  polyline->vertices = {AcGePoint3d(0, 20, 0), AcGePoint3d(10, 20, 0), AcGePoint3d(10, 30, 0)};
  add(std::move(polyline), 5, "0");
  auto text = std::make_unique<AcDbText>();
  text->position = AcGePoint3d(50, 50, 0);
  add(std::move(text), 6, "\xD6\xE1\xCF\xDF");
  auto point = std::make_unique<AcDbPoint>();
  point->position = AcGePoint3d(1, 1, 0);
  add(std::move(point), 7, "0");
  auto hatch = std::make_unique<AcDbGenericEntity>();
  hatch->dxfName = "HATCH";
  add(std::move(hatch), 8, "0");
  add(std::make_unique<AcDbLine>(AcGePoint3d(100, 100, 0), AcGePoint3d(110, 100, 0)), 9, "Axis");
  return db;
}

std::vector<unsigned long long> handles(const cad::Database& db,
                                        const std::vector<AcDbObjectId>& ids) {
  std::vector<unsigned long long> result;
  for (AcDbObjectId id : ids) result.push_back(db.find(id)->handle());
  return result;
}

TEST(SelectionBuilder, AddsClauseByClauseWithoutDuplicates) {
  auto db = sampleDrawing();
  struct Case {
    const char* label;
    std::vector<std::string> clauses;
    std::vector<unsigned long long> expected;
  } cases[] = {
      {"all", {"all"}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"keywords ignore case", {"ALL"}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"layer ignores case", {"layer axis"}, {1, 2, 9}},
      {"several layers in drawing order", {"layer arcs Axis"}, {1, 2, 3, 9}},
      {"Chinese layer from UTF-8", {"layer \xE8\xBD\xB4\xE7\xBA\xBF"}, {6}},
      {"quoted layer", {"layer \"arcs\""}, {3}},
      {"unknown layer adds nothing", {"layer nothing", "handle 4"}, {4}},
      {"window: entirely inside", {"window -1,-6 11,6"}, {1, 2, 7}},
      {"window corners in any order", {"window 11,6 -1,-6"}, {1, 2, 7}},
      {"window around the arc's extremes", {"window 14.9,-0.1 25.1,5.1"}, {3}},
      {"window missing the arc's top", {"window 14.9,-0.1 25.1,4.9"}, {}},
      {"crossing: touched", {"crossing 4,-1 6,1"}, {1, 2}},
      {"crossing the arc", {"crossing 24,3 30,4"}, {3}},
      {"crossing inside the arc's circle only", {"crossing 17,-3 19,-1"}, {}},
      {"crossing a circle", {"crossing 41.5,-0.5 43,0.5"}, {4}},
      {"box inside a circle is no crossing", {"crossing 39.5,-0.5 40.5,0.5"}, {}},
      {"crossing a polyline segment", {"crossing 9,25 11,26"}, {5}},
      {"crossing: whatever reaches into the box", {"crossing 0,0.5 60,60"}, {2, 3, 4, 5, 6, 7}},
      {"crossing picks a text by its position", {"crossing 49,49 51,51"}, {6}},
      {"handles in the given order", {"handle 9 1 3"}, {9, 1, 3}},
      {"no duplicates, clause order",
       {"handle 9", "layer AXIS", "all"},
       {9, 1, 2, 3, 4, 5, 6, 7, 8}},
      // The options a CAD user's hands know, and what an input method types.
      {"W and C for window and crossing", {"W -1,-6 11,6", "c 24,3 30,4"}, {1, 2, 7, 3}},
      {"L is the last entity", {"L"}, {9}},
      {"comma list of layers", {"layer arcs,\xE8\xBD\xB4\xE7\xBA\xBF"}, {3, 6}},
      {"full-width comma between layers",
       {"layer arcs\xEF\xBC\x8C"
        "0"},
       {3, 4, 5, 7, 8}},
      {"full-width keyword and corners",
       {"\xEF\xBD\x97\xE3\x80\x80\xEF\xBC\x8D\xEF\xBC\x91,-6 11,6"},
       {1, 2, 7}},
      {"R removes until A adds again",
       {"all", "R", "layer Axis", "handle 4", "A", "handle 1"},
       {3, 5, 6, 7, 8, 1}},
      {"U undoes the last clause", {"layer axis", "handle 3", "U"}, {1, 2, 9}},
  };
  for (const Case& c : cases) {
    cad::SelectionBuilder builder(*db);
    for (const std::string& clause : c.clauses) {
      const base::Status applied = builder.apply(clause);
      EXPECT_TRUE(applied.isOk()) << c.label << ": " << applied.message();
    }
    EXPECT_EQ(handles(*db, builder.ids()), c.expected) << c.label;
  }
}

TEST(SelectionBuilder, PreviousIsTheLastSetAndSpacedLayerNamesAreHinted) {
  auto db = sampleDrawing();
  auto spaced = std::make_unique<AcDbLine>(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  spaced->setHandle(10);
  spaced->setLayer("Site Layout");
  db->append(std::move(spaced));
  const std::vector<AcDbObjectId> previous = {db->findByHandle(3)->objectId(),
                                              db->findByHandle(1)->objectId()};
  cad::SelectionBuilder builder(*db);
  ASSERT_TRUE(builder.apply("P").isOk());
  EXPECT_TRUE(builder.ids().empty()) << "nothing was selected before";
  EXPECT_EQ(builder.lastNote(), "there is no previous selection");
  builder.setPrevious(&previous);
  ASSERT_TRUE(builder.apply("previous").isOk());
  EXPECT_EQ(handles(*db, builder.ids()), (std::vector<unsigned long long>{3, 1}));

  ASSERT_TRUE(builder.apply("layer Site Layout").isOk());
  EXPECT_EQ(builder.ids().size(), 2u);
  EXPECT_NE(builder.lastNote().find("a name with blanks goes in double quotes: layer "
                                    "\"Site Layout\""),
            std::string::npos)
      << builder.lastNote();
  ASSERT_TRUE(builder.apply("layer \"site layout\",arcs").isOk());
  EXPECT_EQ(handles(*db, builder.ids()), (std::vector<unsigned long long>{3, 1, 10}));
  EXPECT_EQ(builder.lastNote(), "");
  ASSERT_TRUE(builder.apply("layer Site").isOk());
  EXPECT_EQ(builder.lastNote().find("double quotes"), std::string::npos)
      << "one word alone makes no spaced name: " << builder.lastNote();
}

TEST(SelectionBuilder, RefusesMalformedClausesNamingThemAndAddsNothing) {
  auto db = sampleDrawing();
  struct Case {
    const char* clause;
    const char* reason;
  } cases[] = {
      {"everything", "unknown selection clause \"everything\""},
      {"all 1", "all takes no arguments"},
      {"layer", "layer needs a layer name"},
      {"layer \"open", "unclosed quote"},
      {"window 0,0", "window needs two corners"},
      {"window 0,0 1", "window needs two corners"},
      {"crossing 0,0 1,x", "crossing needs two corners"},
      {"window 0,0 1,1 2,2", "window needs two corners"},
      // One sign at most, as everywhere numbers are read.
      {"window +-5,+-3 5,3", "window needs two corners"},
      {"crossing -1,-1 +-1,2", "crossing needs two corners"},
      {"crossing -1,-1 inf,2", "crossing needs two corners"},
      {"handle", "handle needs a handle"},
      {"handle 1 zz", "\"zz\" is not a hexadecimal handle"},
      {"handle 1 FF", "no entity has handle FF"},
      {"handle 0", "no entity has handle 0"},
      {"layer \xFF", "cannot be written in code page 936"},
  };
  for (const Case& c : cases) {
    cad::SelectionBuilder builder(*db);
    const base::Status applied = builder.apply(c.clause);
    ASSERT_FALSE(applied.isOk()) << c.clause;
    EXPECT_NE(applied.message().find(c.reason), std::string::npos)
        << c.clause << ": " << applied.message();
    EXPECT_TRUE(builder.ids().empty()) << c.clause;
  }
}

TEST(SelectionBuilder, CrossingFindsAnArcWhoseSizeWouldOverflowASquare) {
  cad::Database db;
  auto arc = std::make_unique<AcDbArc>(AcGePoint3d(0, 0, 0), 1e300, 0, kPi);
  arc->setHandle(1);
  db.append(std::move(arc));
  // The box straddles the arc's top, away from its ends.
  struct Case {
    const char* clause;
    std::vector<unsigned long long> expected;
  } cases[] = {
      {"crossing -1e299,9e299 1e299,1.1e300", {1}},
      {"crossing -1e301,-1e301 1e301,1e301", {1}},
      {"crossing -1e299,1.1e300 1e299,1.2e300", {}},
  };
  for (const Case& c : cases) {
    cad::SelectionBuilder builder(db);
    ASSERT_TRUE(builder.apply(c.clause).isOk()) << c.clause;
    EXPECT_EQ(handles(db, builder.ids()), c.expected) << c.clause;
  }
}

TEST(SelectionBuilder, RemovesUndoesAndNamesMissingLayers) {
  auto db = sampleDrawing();
  cad::SelectionBuilder builder(*db);
  using Change = cad::SelectionBuilder::Change;
  const struct {
    const char* clause;
    std::vector<unsigned long long> selected;
    Change change;
    std::size_t matched;
    const char* note;  // part of lastNote(); "" for none
  } steps[] = {
      {"all", {1, 2, 3, 4, 5, 6, 7, 8, 9}, Change::kAdded, 9, ""},
      {"remove layer axis", {3, 4, 5, 6, 7, 8}, Change::kRemoved, 3, ""},
      // Full-width commas, as a Chinese input method types them.
      {"REMOVE window -1\xEF\xBC\x8C-1 11\xEF\xBC\x8C"
       "31",
       {3, 4, 6, 8},
       Change::kRemoved,
       3,
       ""},
      {"undo", {3, 4, 5, 6, 7, 8}, Change::kUndone, 0, ""},
      {"layer nosuch Axis",
       {3, 4, 5, 6, 7, 8, 1, 2, 9},
       Change::kAdded,
       3,
       "no entity is on layer \"nosuch\"; the drawing's layers: 0, Axis, arcs, 轴线"},
      {"undo", {3, 4, 5, 6, 7, 8}, Change::kUndone, 0, ""},
      {"undo", {1, 2, 3, 4, 5, 6, 7, 8, 9}, Change::kUndone, 0, ""},
      {"undo", {}, Change::kUndone, 0, ""},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.clause);
    ASSERT_TRUE(builder.apply(step.clause).isOk());
    EXPECT_EQ(handles(*db, builder.ids()), step.selected);
    EXPECT_EQ(builder.lastChange(), step.change);
    EXPECT_EQ(builder.lastMatched(), step.matched);
    EXPECT_EQ(builder.lastNote(), step.note);
  }
  const base::Status nothingLeft = builder.apply("undo");
  ASSERT_FALSE(nothingLeft.isOk());
  EXPECT_NE(nothingLeft.message().find("nothing to undo"), std::string::npos);
  for (const char* bad : {"undo 2", "remove bogus", "add bogus", "l 2", "p x"})
    EXPECT_FALSE(builder.apply(bad).isOk()) << bad;
}

// Answers from a list. A script ends on a rejection; a terminal goes on.
class ListInput final : public cad::InputSource {
 public:
  ListInput(std::vector<std::string> lines, bool terminal)
      : lines_(lines.begin(), lines.end()), terminal_(terminal) {}
  cad::Answer next() override {
    cad::Answer answer;
    if (ended_ || lines_.empty()) return answer;
    std::string text = lines_.front();
    lines_.pop_front();
    answer.location = "list:" + std::to_string(++consumed_);
    if (text == "*cancel*") {
      answer.kind = cad::Answer::Kind::kCancel;
      return answer;
    }
    answer.kind = cad::Answer::Kind::kLine;
    answer.text = text;
    return answer;
  }
  void reject(const cad::Answer& answer, std::string_view reason) override {
    rejections.push_back(answer.location + ": " + std::string(reason));
    if (!terminal_) ended_ = true;
  }
  bool interactive() const override { return terminal_; }
  bool failed() const override { return !terminal_ && !rejections.empty(); }

  std::vector<std::string> rejections;

 private:
  std::deque<std::string> lines_;
  bool terminal_;
  bool ended_ = false;
  int consumed_ = 0;
};

class Selecting : public ::testing::Test {
 protected:
  void SetUp() override {
    cad::setCurrentDatabase(sampleDrawing());
    cad::commandLine().clear();
  }
  void TearDown() override {
    cad::setInput(nullptr);
    cad::setCurrentDatabase(nullptr);
    cad::commandLine().clear();
  }
  ListInput& answer(std::vector<std::string> lines, bool terminal = false) {
    auto input = std::make_unique<ListInput>(std::move(lines), terminal);
    ListInput& ref = *input;
    cad::setInput(std::move(input));
    return ref;
  }
  static std::vector<unsigned long long> setHandles(const ads_name set) {
    std::vector<unsigned long long> result;
    long length = -1;
    EXPECT_EQ(ads_sslength(set, &length), RTNORM);
    for (long i = 0; i < length; ++i) {
      ads_name entity;
      EXPECT_EQ(ads_ssname(set, i, entity), RTNORM);
      AcDbObjectId id;
      EXPECT_EQ(acdbGetObjectId(id, entity), Acad::eOk);
      AcDbObject* object = nullptr;
      EXPECT_EQ(acdbOpenAcDbObject(object, id, AcDb::kForRead), Acad::eOk);
      result.push_back(static_cast<AcDbEntity*>(object)->handle());
      EXPECT_EQ(object->close(), Acad::eOk);
    }
    return result;
  }
};

TEST_F(Selecting, MakesASetFromClausesUntilAnEmptyAnswer) {
  answer({"layer AXIS", "handle 3 1", "", "handle 4"});
  ads_name set = {-1, -1};
  ASSERT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
  EXPECT_EQ(setHandles(set), (std::vector<unsigned long long>{1, 2, 9, 3}));
  EXPECT_NE(cad::commandLine().transcript().find("Select objects: "), std::string::npos);
  EXPECT_EQ(cad::currentDatabase().openObjectCount(), 0);

  ads_name entity;
  EXPECT_EQ(ads_ssname(set, 4, entity), RTERROR);
  EXPECT_EQ(ads_ssname(set, -1, entity), RTERROR);
  EXPECT_EQ(ads_ssfree(set), RTNORM);
  long length = 0;
  EXPECT_EQ(ads_sslength(set, &length), RTERROR);
  EXPECT_EQ(ads_ssname(set, 0, entity), RTERROR);
  EXPECT_EQ(ads_ssfree(set), RTERROR);
}

TEST_F(Selecting, KeepsSetsApartAndNeverReusesTheirNames) {
  answer({"handle 1", "", "handle 2", ""});
  ads_name first, second;
  ASSERT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, first), RTNORM);
  ASSERT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, second), RTNORM);
  EXPECT_NE(first[0], second[0]);
  EXPECT_EQ(setHandles(first), std::vector<unsigned long long>{1});
  EXPECT_EQ(setHandles(second), std::vector<unsigned long long>{2});
  EXPECT_EQ(ads_ssfree(first), RTNORM);
  answer({"handle 3", ""});
  ads_name third;
  ASSERT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, third), RTNORM);
  EXPECT_NE(third[0], first[0]);
  long length = 0;
  EXPECT_EQ(ads_sslength(first, &length), RTERROR);
  EXPECT_EQ(ads_ssfree(second), RTNORM);
  EXPECT_EQ(ads_ssfree(third), RTNORM);
}

TEST_F(Selecting, EndsWithoutASetOnCancelEndOrEmptySelection) {
  struct Case {
    const char* label;
    std::vector<std::string> lines;
    int result;
  } cases[] = {
      {"cancel", {"all", "*cancel*"}, RTCAN},
      {"input ends", {"all"}, RTCAN},
      {"empty selection", {""}, RTERROR},
      {"nothing matched", {"layer none", ""}, RTERROR},
      {"script rejects a bad clause and ends", {"all", "bogus", ""}, RTCAN},
  };
  for (const Case& c : cases) {
    answer(c.lines);
    ads_name set = {-7, -7};
    EXPECT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, set), c.result) << c.label;
    EXPECT_EQ(set[0], -7) << c.label;
    EXPECT_EQ(cad::selectionSets().size(), 0u) << c.label;
  }
}

TEST_F(Selecting, TerminalAsksAgainAfterABadClause) {
  ListInput& input = answer({"window 1", "handle 2", ""}, true);
  ads_name set;
  ASSERT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
  EXPECT_EQ(setHandles(set), std::vector<unsigned long long>{2});
  ASSERT_EQ(input.rejections.size(), 1u);
  EXPECT_NE(input.rejections[0].find("list:1: selection clause \"window 1\""), std::string::npos)
      << input.rejections[0];
  EXPECT_EQ(ads_ssfree(set), RTNORM);
}

TEST_F(Selecting, EachClauseIsReportedByKind) {
  answer({"all", "remove handle 1 4", "undo", ""});
  ads_name set;
  ASSERT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
  EXPECT_EQ(cad::commandLine().transcript(),
            "Select objects: 9 found, 9 total\n  3 LINE, 1 ARC, 5 other\n"
            "Select objects: 2 removed, 7 total\n  1 LINE, 0 ARC, 1 other\n"
            "Select objects: Last clause undone, 9 total\n"
            "Select objects: ");
  EXPECT_EQ(ads_ssfree(set), RTNORM);
}

TEST_F(Selecting, RejectsModesPointsAndFilters) {
  ListInput& input = answer({"all", ""});
  ads_name set = {-7, -7};
  double point[3] = {0, 0, 0};
  EXPECT_EQ(ads_ssget("X", nullptr, nullptr, nullptr, set), RTREJ);
  EXPECT_EQ(ads_ssget(nullptr, point, nullptr, nullptr, set), RTREJ);
  EXPECT_EQ(ads_ssget(nullptr, nullptr, point, nullptr, set), RTREJ);
  EXPECT_EQ(ads_ssget(nullptr, nullptr, nullptr, reinterpret_cast<const resbuf*>(point), set),
            RTREJ);
  EXPECT_EQ(set[0], -7);
  EXPECT_TRUE(input.rejections.empty());
  // Nothing was read: the answers are still there.
  ASSERT_EQ(ads_ssget(nullptr, nullptr, nullptr, nullptr, set), RTNORM);
  EXPECT_EQ(ads_ssfree(set), RTNORM);
}

}  // namespace
