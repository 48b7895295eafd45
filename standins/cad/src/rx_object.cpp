#include "host/ac_rx_object.h"

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
  static AcRxClass descriptor("AcRxObject", nullptr);
  return &descriptor;
}

AcRxClass* AcRxObject::isA() const {
  return AcRxObject::desc();
}

bool AcRxObject::isKindOf(const AcRxClass* aClass) const {
  return isA()->isDerivedFrom(aClass);
}

AcRxClass::AcRxClass(const char* name, AcRxClass* parent) : name_(name), parent_(parent) {}

AcRxClass::~AcRxClass() = default;

AcRxClass* AcRxClass::desc() {
  static AcRxClass descriptor("AcRxClass", AcRxObject::desc());
  return &descriptor;
}

AcRxClass* AcRxClass::isA() const {
  return AcRxClass::desc();
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
  if (other == nullptr) return false;
  for (const AcRxClass* c = this; c != nullptr; c = c->parent_)
    if (c == other) return true;
  return false;
}
