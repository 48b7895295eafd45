#pragma once

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "dxf/reader.h"

// What the reader's tests share: drawings written group by group, a sink that
// keeps every entity, and the test data folder.
namespace dxf_test {

class Collect final : public cad::dxf::EntitySink {
 public:
  void entity(const cad::dxf::Entity& e) override { entities.push_back(e); }
  std::vector<cad::dxf::Entity> entities;
};

using Groups = std::vector<std::pair<int, std::string>>;

// The groups as ASCII DXF lines, LF only.
inline std::string text(const Groups& groups) {
  std::string out;
  for (const auto& [code, value] : groups) out += std::to_string(code) + "\n" + value + "\n";
  return out;
}

inline std::string section(const char* name, const Groups& groups) {
  return text({{0, "SECTION"}, {2, name}}) + text(groups) + text({{0, "ENDSEC"}});
}

inline cad::dxf::ReadResult read(const std::string& contents, Collect& sink) {
  return cad::dxf::readDxf(contents, "test.dxf", sink);
}

// `name` in the test data's dxf folder.
inline std::string dataPath(const std::string& name) {
  const char* dir = std::getenv("TAVRIN_TEST_DATA");
  return std::string(dir != nullptr ? dir : "tests/data") + "/dxf/" + name;
}

}  // namespace dxf_test
