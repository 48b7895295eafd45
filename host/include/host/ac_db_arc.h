#pragma once

#include "host/ac_db_entity.h"
#include "host/ac_ge_point.h"
#include "host/host_export.h"

// A circular arc, counter-clockwise from startAngle to endAngle about its centre,
// in the XY plane. Angles in radians in [0, 2*pi); a span through direction 0
// has endAngle < startAngle. Run-time class "AcDbArc".
class HOST_API AcDbArc : public AcDbCurve {
 public:
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& centre, double radius, double startAngle, double endAngle)
      : centre_(centre), radius_(radius), startAngle_(startAngle), endAngle_(endAngle) {}

  static AcRxClass* desc();
  AcRxClass* isA() const override;

  AcGePoint3d center() const { return centre_; }
  double radius() const { return radius_; }
  double startAngle() const { return startAngle_; }
  double endAngle() const { return endAngle_; }
  void setCenter(const AcGePoint3d& centre) { centre_ = centre; }
  void setRadius(double radius) { radius_ = radius; }
  void setStartAngle(double angle) { startAngle_ = angle; }
  void setEndAngle(double angle) { endAngle_ = angle; }

 private:
  AcGePoint3d centre_;
  double radius_ = 0.0;
  double startAngle_ = 0.0;
  double endAngle_ = 0.0;
};
