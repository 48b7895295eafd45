#pragma once

#include <string>

#include "host/ac_db_object.h"
#include "host/ac_ge_point3d_array.h"
#include "host/host_export.h"

namespace AcDb {
enum Intersect {
  kOnBothOperands = 0,  // points that lie on both entities
  kExtendThis = 1,
  kExtendArg = 2,
  kExtendBoth = 3,
};
}

// A graphical object of the drawing: it sits on a layer and has a DXF handle.
class HOST_API AcDbEntity : public AcDbObject {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;

  // Layer name, code page 936.
  const std::string& layer() const { return layer_; }
  void setLayer(std::string layer) { layer_ = std::move(layer); }
  // DXF handle (group 5), 0 when the drawing gave none.
  unsigned long long handle() const { return handle_; }
  void setHandle(unsigned long long handle) { handle_ = handle; }

  // Appends to `points` the points where this entity meets `other`, computed
  // in the XY plane with z = 0. Only kOnBothOperands is supported, for lines
  // and arcs. eOk (possibly with no points added); eNotImplemented for any
  // other pair of classes; eInvalidInput for another type or a null other.
  // The gs markers are ignored.
  virtual Acad::ErrorStatus intersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                          AcGePoint3dArray& points, int thisGsMarker = 0,
                                          int otherGsMarker = 0) const;

 private:
  std::string layer_ = "0";
  unsigned long long handle_ = 0;
};

// An entity that is a curve (lines, arcs, circles, polylines).
class HOST_API AcDbCurve : public AcDbEntity {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
};
