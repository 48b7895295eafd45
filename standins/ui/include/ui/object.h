#pragma once

#include <iosfwd>

namespace ui {

class Archive;
class Object;

// Run-time class of an Object: its name and its base.
struct RuntimeClass {
  const char* name;
  const RuntimeClass* base;

  // True when this class is `other` or derives from it.
  bool isDerivedFrom(const RuntimeClass* other) const;
};

// The common base of the library's objects. Its virtual operations, in table
// order: the run-time class query, the destructor, serialise, the validity
// check and the dump.
class Object {
 public:
  static const RuntimeClass kClass;

  virtual const RuntimeClass* runtimeClass() const;
  virtual ~Object();
  // Writes the object to `archive` when it is storing, reads it otherwise.
  // The base has nothing to write.
  virtual void serialize(Archive& archive);
  // Checks internal consistency; aborts on a broken invariant. The base has
  // none.
  virtual void assertValid() const;
  // Writes a readable description for diagnostics. The base writes its class.
  virtual void dump(std::ostream& out) const;

  bool isKindOf(const RuntimeClass* aClass) const { return runtimeClass()->isDerivedFrom(aClass); }

 protected:
  Object() = default;
  Object(const Object&) = default;
  Object& operator=(const Object&) = default;
};

}  // namespace ui
