#include "dwg/dwg_version.h"

#include <algorithm>
#include <iterator>

namespace cad::dwg {
namespace {

struct Release {
  std::string_view code;
  std::string_view release;
};

// Every release with its own file version. R13 to 2018 open.
constexpr Release kReleases[] = {
    {"AC1.2", "R1.2"},   {"AC1.40", "R1.40"}, {"AC1.50", "R2.05"}, {"AC2.10", "R2.10"},
    {"AC2.21", "R2.21"}, {"AC2.22", "R2.22"}, {"AC1001", "R2.22"}, {"AC1002", "R2.5"},
    {"AC1003", "R2.6"},  {"AC1004", "R9"},    {"AC1006", "R10"},   {"AC1009", "R11/R12"},
    {"AC1012", "R13"},   {"AC1014", "R14"},   {"AC1015", "2000"},  {"AC1018", "2004"},
    {"AC1021", "2007"},  {"AC1024", "2010"},  {"AC1027", "2013"},  {"AC1032", "2018"},
};
constexpr std::string_view kFirstOpened = "AC1012";
constexpr std::string_view kLastOpened = "AC1032";

bool isSignatureCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '.';
}

}  // namespace

std::optional<DwgVersion> dwgVersionOf(std::string_view head) {
  constexpr std::size_t kLength = 6;
  // The oldest files name their version in five bytes ("AC1.2") and go on
  // with other data.
  constexpr std::string_view kShortest = "AC1.2";
  std::string_view code = head.substr(0, kLength);
  if (code.size() < kLength || !std::all_of(code.begin() + 2, code.end(), isSignatureCharacter))
    code = head.starts_with(kShortest) ? kShortest : std::string_view();
  if (!code.starts_with("AC")) return std::nullopt;
  DwgVersion version;
  version.code = std::string(code);
  version.release = "unknown";
  const auto known = std::find_if(std::begin(kReleases), std::end(kReleases),
                                  [&](const Release& r) { return r.code == code; });
  if (known != std::end(kReleases)) version.release = std::string(known->release);
  // Codes compare as their digits do: "AC1012" < "AC1032"; dotted ones are older.
  const auto firstOpened = std::find_if(std::begin(kReleases), std::end(kReleases),
                                        [](const Release& r) { return r.code == kFirstOpened; });
  version.older = known < firstOpened;
  version.opens = known != std::end(kReleases) && !version.older && code <= kLastOpened;
  return version;
}

std::string describe(const DwgVersion& version) {
  return "DWG " + version.release + " (" + version.code + ")";
}

}  // namespace cad::dwg
