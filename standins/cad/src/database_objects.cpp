#include "cad/database.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_object.h"
#include "host/ac_db_other_entities.h"

// Run-time classes of the database objects. Each descriptor lives as long as
// the host; its parent makes isDerivedFrom and the class test work.
#define TAVRIN_DATABASE_CLASS(Class, Parent)             \
  AcRxClass* Class::desc() {                             \
    static AcRxClass descriptor(#Class, Parent::desc()); \
    return &descriptor;                                  \
  }                                                      \
  AcRxClass* Class::isA() const {                        \
    return Class::desc();                                \
  }

TAVRIN_DATABASE_CLASS(AcDbObject, AcRxObject)
TAVRIN_DATABASE_CLASS(AcDbEntity, AcDbObject)
TAVRIN_DATABASE_CLASS(AcDbCurve, AcDbEntity)
TAVRIN_DATABASE_CLASS(AcDbLine, AcDbCurve)
TAVRIN_DATABASE_CLASS(AcDbArc, AcDbCurve)
TAVRIN_DATABASE_CLASS(AcDbCircle, AcDbCurve)
TAVRIN_DATABASE_CLASS(AcDbPolyline, AcDbCurve)
TAVRIN_DATABASE_CLASS(AcDb2dPolyline, AcDbCurve)
TAVRIN_DATABASE_CLASS(AcDbText, AcDbEntity)
TAVRIN_DATABASE_CLASS(AcDbMText, AcDbEntity)
TAVRIN_DATABASE_CLASS(AcDbBlockReference, AcDbEntity)
TAVRIN_DATABASE_CLASS(AcDbPoint, AcDbEntity)
TAVRIN_DATABASE_CLASS(AcDbGenericEntity, AcDbEntity)

#undef TAVRIN_DATABASE_CLASS

AcDbObject::~AcDbObject() = default;

Acad::ErrorStatus AcDbObject::openForRead() {
  ++openCount_;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::close() {
  if (openCount_ <= 0) return Acad::eInvalidOpenState;
  --openCount_;
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name entity) {
  id = AcDbObjectId::kNull;
  if (entity == nullptr) return Acad::eUnknownHandle;
  AcDbObjectId candidate(static_cast<std::uint64_t>(entity[0]));
  if (cad::currentDatabase().find(candidate) == nullptr) return Acad::eUnknownHandle;
  id = candidate;
  return Acad::eOk;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased) {
  object = nullptr;
  if (mode != AcDb::kForRead) return Acad::eInvalidInput;
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbEntity* entity = cad::currentDatabase().find(id);
  if (entity == nullptr) return Acad::eUnknownHandle;
  if (entity->isErased() && !openErased) return Acad::eWasErased;
  Acad::ErrorStatus status = entity->openForRead();
  if (status == Acad::eOk) object = entity;
  return status;
}

int c5ObjIdIsEqualTo(const AcDbObjectId& a, const AcDbObjectId& b) {
  return !a.isNull() && a == b ? 1 : 0;
}
