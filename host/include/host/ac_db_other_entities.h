#pragma once

#include <string>
#include <vector>

#include "host/ac_db_entity.h"
#include "host/ac_ge_point.h"
#include "host/host_export.h"

// Entity classes the host loads but the module does not convert. They carry
// just enough of their geometry to be selected by window and crossing.

class HOST_API AcDbCircle : public AcDbCurve {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  AcGePoint3d centre;
  double radius = 0.0;
};

// LWPOLYLINE: vertices in world XY.
class HOST_API AcDbPolyline : public AcDbCurve {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  std::vector<AcGePoint3d> vertices;
  bool closed = false;
};

// POLYLINE with its VERTEX records.
class HOST_API AcDb2dPolyline : public AcDbCurve {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  std::vector<AcGePoint3d> vertices;
  bool closed = false;
};

class HOST_API AcDbText : public AcDbEntity {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  AcGePoint3d position;
  std::string text;  // code page 936
};

class HOST_API AcDbMText : public AcDbEntity {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  AcGePoint3d location;
  std::string contents;  // code page 936
};

class HOST_API AcDbBlockReference : public AcDbEntity {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  AcGePoint3d position;
  std::string blockName;  // code page 936
};

class HOST_API AcDbPoint : public AcDbEntity {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  AcGePoint3d position;
};

// Any other entity type; `dxfName` is its DXF type name (e.g. "HATCH").
class HOST_API AcDbGenericEntity : public AcDbEntity {
 public:
  static AcRxClass* desc();
  AcRxClass* isA() const override;
  std::string dxfName;
};
