#include "export/unit_proposal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "host/ads.h"
#include "resources/texts.h"

namespace tavrin {

namespace {

// $INSUNITS codes of the units the dialog lists, with their exponents.
struct MetricUnit {
  int code;
  std::int32_t exponent;
};
constexpr MetricUnit kMetricUnits[] = {{4, 3}, {5, 2}, {14, 1}, {6, 0}};
constexpr int kInches = 1;
constexpr int kFeet = 2;

// A building's size, in metres.
constexpr double kSmallestSpan = 1.0;
constexpr double kLargestSpan = 2000.0;

const char* unitName(std::int32_t exponent) {
  static const char* const names[] = {resources::kUnitMetre, resources::kUnitDecimetre,
                                      resources::kUnitCentimetre, resources::kUnitMillimetre};
  return names[exponent];
}

// The span for the user: whole units with thousands separators from 100 on
// ("24,000"), otherwise up to three significant digits.
std::string spanText(double span) {
  char buffer[64];
  if (!(span >= 100.0) || span > 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.3g", span);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.0f", span);
  std::string digits = buffer, grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string formatted(const char* format, const std::string& a, const std::string& b = {},
                      const std::string& c = {}) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, a.c_str(), b.c_str(), c.c_str());
  return buffer;
}

bool plausible(double span, std::int32_t exponent) {
  const double metres = span / std::pow(10.0, exponent);
  return metres >= kSmallestSpan && metres <= kLargestSpan;
}

}  // namespace

double UnitProposal::pointTolerance() const {
  static const double tolerances[] = {0.0003, 0.003, 0.03, 0.3};
  return unitExponent >= 0 && unitExponent <= 3 ? tolerances[unitExponent] : 0.3;
}

UnitProposal proposeUnit(int declaredUnits, double span) {
  UnitProposal proposal;
  const auto metric = std::find_if(std::begin(kMetricUnits), std::end(kMetricUnits),
                                   [&](const MetricUnit& u) { return u.code == declaredUnits; });
  if (metric != std::end(kMetricUnits)) {
    const char* declared = unitName(metric->exponent);
    if (plausible(span, metric->exponent)) {
      proposal.unitExponent = metric->exponent;
      proposal.declared = true;
    } else if (metric->exponent != 3) {
      proposal.note = formatted(resources::kUnitNotPlausible, declared, spanText(span),
                                unitName(proposal.unitExponent));
    } else {
      proposal.note = formatted(resources::kMillimetresNotPlausible, spanText(span));
    }
  } else if (declaredUnits == kInches) {
    proposal.note = resources::kDeclaredInches;
  } else if (declaredUnits == kFeet) {
    proposal.note = resources::kDeclaredFeet;
  } else if (declaredUnits != 0) {
    proposal.note = formatted(resources::kDeclaredOtherUnit, std::to_string(declaredUnits));
  }
  return proposal;
}

double axesSpan(const AxisSet& axes) {
  bool any = false;
  double minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (const Axis* axis = axes.head(); axis != nullptr; axis = axis->next)
    for (std::int32_t i = 0; i < axis->points.size(); ++i) {
      const AxisPoint& p = axis->points[i];
      if (!any) {
        minX = maxX = p.x;
        minY = maxY = p.y;
        any = true;
      }
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
  return std::max(maxX - minX, maxY - minY);
}

int declaredDrawingUnits() {
  resbuf value{};
  if (ads_getvar("INSUNITS", &value) != RTNORM || value.restype != RTSHORT) return 0;
  return value.resval.rint;
}

}  // namespace tavrin
