#include "acadtomn_command.h"

#include "axis/axis_set.h"
#include "axis/collect_axes.h"
#include "export/export_flow.h"
#include "export/unit_proposal.h"
#include "host/ac_ge_point3d_array.h"
#include "host/ads.h"
#include "resources/texts.h"

namespace tavrin {

namespace {

// Frees a selection set when it goes.
class SelectionSet {
 public:
  explicit SelectionSet(const ads_name name) : name_{name[0], name[1]} {}
  SelectionSet(const SelectionSet&) = delete;
  SelectionSet& operator=(const SelectionSet&) = delete;
  ~SelectionSet() { free(); }

  const long* name() const { return name_; }
  void free() {
    if (held_) ads_ssfree(name_);
    held_ = false;
  }

 private:
  ads_name name_;
  bool held_ = true;
};

}  // namespace

void acadtomn() {
  ads_point base = {0.0, 0.0, 0.0};
  if (ads_getpoint(nullptr, resources::kBasePointPrompt, base) != RTNORM) {
    ads_printf("%s", resources::kBasePointCancelled);
    return;
  }

  ads_printf("%s", resources::kSelectionPrompt);
  ads_name picked = {0, 0};
  if (ads_ssget(nullptr, nullptr, nullptr, nullptr, picked) != RTNORM) {
    ads_printf("%s", resources::kSelectionFailed);
    return;
  }
  SelectionSet selection(picked);

  // Declared in this order so that the buffer goes before the axis set.
  AxisSet axes;
  AcGePoint3dArray intersections(0, 8);
  long selected = 0;
  ads_sslength(selection.name(), &selected);
  const bool complete = collectAxes(selection.name(), axes, intersections);
  selection.free();
  if (!complete) {
    ads_printf("%s", resources::kCollectionStopped);
    return;
  }
  long lines = 0, arcs = 0;
  for (const Axis* axis = axes.head(); axis != nullptr; axis = axis->next)
    ++(axis->kind == AxisKind::Arc ? arcs : lines);
  ads_printf(resources::kSelectionSummary, lines, arcs, selected - lines - arcs);
  // An empty floor written over a good one would lose it; there is nothing
  // to ask the user about.
  if (axes.isEmpty()) {
    ads_printf("%s", resources::kNothingToExport);
    return;
  }
  // Points closer than 0.3 mm are one point, in whatever unit the drawing is.
  const UnitProposal unit = proposeUnit(declaredDrawingUnits(), axesSpan(axes));
  cleanAndOrderAxes(axes, unit.pointTolerance());
  exportAxisGrid(axes, base, unit);
}

}  // namespace tavrin
