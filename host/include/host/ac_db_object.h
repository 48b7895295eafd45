#pragma once

#include "host/ac_db_object_id.h"
#include "host/ac_rx_object.h"
#include "host/ads.h"
#include "host/host_export.h"
#include "host/result_codes.h"

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
}

// An object of the drawing database. Objects stay owned by the database; a
// module opens one with acdbOpenAcDbObject and must close() it again.
class HOST_API AcDbObject : public AcRxObject {
 public:
  ~AcDbObject() override;

  static AcRxClass* desc();
  AcRxClass* isA() const override;

  AcDbObjectId objectId() const { return id_; }
  bool isErased() const { return erased_; }
  // Number of open readers; 0 when closed.
  int openCount() const { return openCount_; }

  // Ends one open. eOk, or eInvalidOpenState when the object is not open.
  Acad::ErrorStatus close();

  // Host side: called by the database that owns the object.
  void setObjectId(AcDbObjectId id) { id_ = id; }
  void setErased(bool erased) { erased_ = erased; }
  Acad::ErrorStatus openForRead();

 protected:
  AcDbObject() = default;
  AcDbObject(const AcDbObject&) = default;
  AcDbObject& operator=(const AcDbObject&) = default;

 private:
  AcDbObjectId id_;
  bool erased_ = false;
  int openCount_ = 0;
};

extern "C++" {
// Object id of the entity named by `entity`. eOk, or eUnknownHandle when the
// name names nothing in the current drawing (id set to null).
HOST_API Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name entity);

// Opens the object `id` of the current drawing. Only kForRead is supported.
// eOk with `object` set; otherwise `object` is null: eNullObjectId,
// eUnknownHandle, eWasErased (erased and openErased false), eInvalidInput
// (another mode).
HOST_API Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id,
                                              AcDb::OpenMode mode, bool openErased = false);
}
