#include "formats/axis_file_records.h"

#include "formats/number_format.h"

namespace tavrin {

namespace {

void appendRecordHead(std::string& text, int kind) {
  appendInteger(text, kind);
  text += ",0\n ";
}

void appendValue(std::string& text, double value) {
  appendFixed(text, value);
  text += ',';
}

}  // namespace

void appendAxisFileHeader(std::string& text, std::int64_t records) {
  text += "0\nGraph Link\n";
  appendInteger(text, records);
  text += '\n';
}

void appendStraightRecord(std::string& text, double x2, double y2, double x1, double y1) {
  appendRecordHead(text, 9);
  appendValue(text, x2);
  appendValue(text, y2);
  appendValue(text, x1);
  appendValue(text, y1);
  text += "0,0\n";
}

void appendArcRecord(std::string& text, double centreX, double centreY, double radius,
                     double startDegrees, double endDegrees) {
  appendRecordHead(text, 14);
  appendValue(text, centreX);
  appendValue(text, centreY);
  appendValue(text, radius);
  appendValue(text, startDegrees);
  appendValue(text, endDegrees);
  text += "0,0\n";
}

}  // namespace tavrin
