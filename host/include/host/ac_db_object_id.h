#pragma once

#include <cstdint>

#include "host/host_export.h"

// Identifies a database object for the life of the drawing. Null by default.
class AcDbObjectId {
 public:
  AcDbObjectId() = default;
  explicit AcDbObjectId(std::uint64_t value) : value_(value) {}

  bool isNull() const { return value_ == 0; }
  std::uint64_t value() const { return value_; }
  bool operator==(const AcDbObjectId&) const = default;

  static const AcDbObjectId kNull;

 private:
  std::uint64_t value_ = 0;
};

inline const AcDbObjectId AcDbObjectId::kNull{};

// Non-zero when both ids name the same object.
extern "C++" HOST_API int c5ObjIdIsEqualTo(const AcDbObjectId& a, const AcDbObjectId& b);
