#include "plot_command/plot_command.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "cad/selection_sets.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/file_system.h"
#include "picture_file/picture_file.h"
#include "plot/picture_format.h"

namespace {

constexpr plot::Colour kOtherColour{0.55, 0.55, 0.55};
constexpr plot::Colour kSelectedColour{0.85, 0.1, 0.0};

std::string count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

plot::Scene drawingScene(const cad::Database& drawing, const std::vector<AcDbObjectId>& selected) {
  plot::Layer others;
  others.colour = kOtherColour;
  plot::Layer chosen;
  chosen.colour = kSelectedColour;
  std::vector<AcDbObjectId> sortedSelection = selected;
  std::sort(sortedSelection.begin(), sortedSelection.end(),
            [](AcDbObjectId a, AcDbObjectId b) { return a.value() < b.value(); });
  const auto isSelected = [&](AcDbObjectId id) {
    return std::binary_search(sortedSelection.begin(), sortedSelection.end(), id,
                              [](AcDbObjectId a, AcDbObjectId b) { return a.value() < b.value(); });
  };
  for (const auto& entity : drawing.entities()) {
    if (entity->isErased()) continue;
    plot::Layer& layer = isSelected(entity->objectId()) ? chosen : others;
    if (const auto* line = acrxClassTest<AcDbLine>(entity.get())) {
      layer.lines.push_back(plot::Line{{line->startPoint().x, line->startPoint().y},
                                       {line->endPoint().x, line->endPoint().y}});
    } else if (const auto* arc = acrxClassTest<AcDbArc>(entity.get())) {
      layer.arcs.push_back(plot::Arc{
          {arc->center().x, arc->center().y}, arc->radius(), arc->startAngle(), arc->endAngle()});
    }
  }
  others.name = count(others.lines.size(), "line", "lines") + ", " +
                count(others.arcs.size(), "arc", "arcs") + " not selected";
  chosen.name = count(chosen.lines.size(), "line", "lines") + ", " +
                count(chosen.arcs.size(), "arc", "arcs") + " selected";
  plot::Scene scene;
  scene.title = "Lines and arcs of the drawing, drawing units";
  scene.unit = "units";
  scene.layers.push_back(std::move(others));
  scene.layers.push_back(std::move(chosen));
  return scene;
}

void runPlotCommand() {
  for (;;) {
    cad::commandLine().printUtf8("Picture file (.png, .svg or .pdf): ");
    cad::publishAsking(
        cad::Asking{cad::AskKind::kText, "Picture file (.png, .svg or .pdf): ", std::nullopt});
    const cad::Answer answer = cad::input().next();
    if (!answer.isLine() || answer.text.empty()) {
      cad::commandLine().printUtf8("*Cancel*\n");
      return;
    }
    const auto format = plot::pictureFormatOfPath(answer.text);
    if (!format) {
      cad::input().reject(answer, "the picture file must end in .png, .svg or .pdf");
      if (cad::input().interactive()) continue;
      return;
    }
    const cad::Database& drawing = cad::currentDatabase();
    const plot::Scene scene = drawingScene(drawing, cad::selectionSets().lastSelection());
    const base::Status drawn =
        picture_file::writePictureFile(scene, *format, answer.text, hostFileSystem());
    if (!drawn.isOk()) throw std::runtime_error(drawn.message());
    const plot::Layer& chosen = scene.layers[1];
    cad::commandLine().printUtf8(
        "Drew " + std::to_string(scene.layers[0].lines.size() + chosen.lines.size()) +
        " lines and " + std::to_string(scene.layers[0].arcs.size() + chosen.arcs.size()) +
        " arcs, " + std::to_string(chosen.lines.size() + chosen.arcs.size()) +
        " of them selected, into " + answer.text + "\n");
    return;
  }
}
