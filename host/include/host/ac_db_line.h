#pragma once

#include "host/ac_db_entity.h"
#include "host/ac_ge_point.h"
#include "host/host_export.h"

// A straight segment in world coordinates. Run-time class "AcDbLine".
class HOST_API AcDbLine : public AcDbCurve {
 public:
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : start_(start), end_(end) {}

  static AcRxClass* desc();
  AcRxClass* isA() const override;

  AcGePoint3d startPoint() const { return start_; }
  AcGePoint3d endPoint() const { return end_; }
  void setStartPoint(const AcGePoint3d& point) { start_ = point; }
  void setEndPoint(const AcGePoint3d& point) { end_ = point; }

 private:
  AcGePoint3d start_;
  AcGePoint3d end_;
};
