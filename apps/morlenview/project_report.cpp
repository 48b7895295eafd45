#include "morlenview/project_report.h"

#include <ostream>
#include <string>

#include "text/format.h"

namespace morlenview {
namespace {

// A number of metres or drawing units, whole whatever its size.
std::string fixed(double value, int decimals = 3) {
  return text::numberText(value, decimals);
}

// Millimetres with a sign, from metres: "+100.0", "-13.4".
std::string signedMillimetres(double metres) {
  const std::string text = fixed(metres * 1000.0, 1);
  return text.starts_with("-") ? text : "+" + text;
}

std::string extentText(const Extent& e) {
  if (e.empty) return "no extent";
  return "x " + fixed(e.minX) + " .. " + fixed(e.maxX) + " m, y " + fixed(e.minY) + " .. " +
         fixed(e.maxY) + " m";
}

// "floors 1 and 3", "floors 1, 3 and 4".
std::string floorList(const std::vector<int>& numbers) {
  std::string text = numbers.size() == 1 ? "floor " : "floors ";
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) text += k + 1 == numbers.size() ? " and " : ", ";
    text += std::to_string(numbers[k]);
  }
  return text;
}

}  // namespace

void printProject(std::ostream& out, const MorlenProject& project) {
  out << "Project " << project.path << "\n";
  if (project.parameters.isOk()) {
    const ProjectParameters& p = *project.parameters;
    const PlanePoint reference = referencePointInMetres(p);
    out << "  parameters: origin (" << fixed(p.originX) << ", " << fixed(p.originY)
        << "), reference point (" << fixed(p.referenceX) << ", " << fixed(p.referenceY)
        << ") in drawing units, unit index " << p.unitIndex << ", scale " << fixed(p.scale)
        << "\n  reference point in Morlen metres: (" << fixed(reference.x) << ", "
        << fixed(reference.y) << ")\n";
  } else if (project.parametersFaulty) {
    out << "  parameters not used: " << project.parameters.message()
        << "; the reference point is not marked\n";
  } else {
    out << "  no parameters (" << project.parameters.message()
        << "): the reference point is not marked\n";
  }
}

void printFloor(std::ostream& out, const ProjectFloor& floor) {
  out << "Floor " << floor.number << " (" << floor.fileName << "): ";
  if (!floor.read()) {
    out << "cannot be read: " << floor.status.message() << "\n";
    return;
  }
  const FloorSummary& summary = floor.summary;
  out << summary.straightSegments + summary.arcSegments << " segments (" << summary.straightSegments
      << " straight, " << summary.arcSegments << " arc), " << summary.points.size()
      << " distinct points, " << extentText(summary.extent) << "\n";
}

void printAlignment(std::ostream& out, const std::vector<ProjectFloor*>& shown,
                    const AlignmentResult& alignment) {
  if (shown.size() < 2) {
    out << "Alignment: needs two floors or more; " << shown.size() << " read\n";
    return;
  }
  out << "Alignment of " << shown.size()
      << " floors: " << (alignment.linesUp() ? "they line up" : "they do NOT line up") << "\n";
  for (const FloorPairFinding& pair : alignment.pairs) {
    const int first = shown[pair.first]->number, second = shown[pair.second]->number;
    out << "  floors " << first << " and " << second << ": ";
    if (pair.linesUp()) {
      out << "line up\n";
      continue;
    }
    if (!pair.extentsOverlap) out << "extents do not overlap at all";
    if (!pair.extentsOverlap && pair.nearMisses > 0) out << "; ";
    if (pair.nearMisses > 0) {
      out << pair.nearMisses << (pair.nearMisses == 1 ? " point lies" : " points lie")
          << " 1 to 300 mm off a point of the other floor, largest offset "
          << fixed(pair.largestOffset * 1000.0, 1) << " mm; ";
      if (pair.oneShift)
        out << "floor " << second << " lies dx " << signedMillimetres(pair.shiftX) << " mm, dy "
            << signedMillimetres(pair.shiftY) << " mm off floor " << first;
      else
        out << "the offsets differ from point to point (median dx "
            << signedMillimetres(pair.shiftX) << " mm, dy " << signedMillimetres(pair.shiftY)
            << " mm): not one shift, a unit or scale may differ";
    }
    out << "\n";
  }
  if (alignment.oddFloor) {
    const int odd = shown[*alignment.oddFloor]->number;
    std::vector<int> others;
    for (const ProjectFloor* floor : shown)
      if (floor->number != odd && !floor->summary.points.empty()) others.push_back(floor->number);
    out << "  floor " << odd << " is the odd one out: it lines up with none of "
        << floorList(others) << ", which line up with each other\n";
  }
}

}  // namespace morlenview
