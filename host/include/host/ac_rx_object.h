#pragma once

#include "host/host_export.h"

class AcRxClass;

// Root of the host's run-time class system. Every object the host hands to a
// module (database objects, registry entries, class descriptors) is one.
class HOST_API AcRxObject {
 public:
  virtual ~AcRxObject();

  // Descriptor of this class.
  static AcRxClass* desc();
  // Run-time class of this object.
  virtual AcRxClass* isA() const;
  // True when isA() derives from `aClass` (or is it).
  bool isKindOf(const AcRxClass* aClass) const;
};

// Descriptor of a run-time class: its name and its parent. Owned by the host;
// lives as long as the host.
class HOST_API AcRxClass : public AcRxObject {
 public:
  AcRxClass(const char* name, AcRxClass* parent);
  ~AcRxClass() override;

  static AcRxClass* desc();
  AcRxClass* isA() const override;

  const char* name() const { return name_; }
  AcRxClass* myParent() const { return parent_; }
  // True when this class is `other` or derives from it. False for null.
  bool isDerivedFrom(const AcRxClass* other) const;

 private:
  const char* name_;
  AcRxClass* parent_;
};

// The class test: `object` as a T when its run-time class derives from T's
// descriptor, otherwise null. Null in, null out.
template <class T>
T* acrxClassTest(AcRxObject* object) {
  if (object == nullptr || !object->isA()->isDerivedFrom(T::desc())) return nullptr;
  return static_cast<T*>(object);
}

// The same test against a descriptor looked up at run time.
inline AcRxObject* acrxClassTest(AcRxObject* object, const AcRxClass* descriptor) {
  if (object == nullptr || descriptor == nullptr || !object->isA()->isDerivedFrom(descriptor))
    return nullptr;
  return object;
}
