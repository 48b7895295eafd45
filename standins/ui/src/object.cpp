#include "ui/object.h"

#include <ostream>

#include "ui/archive.h"

namespace ui {

bool RuntimeClass::isDerivedFrom(const RuntimeClass* other) const {
  for (const RuntimeClass* c = this; c != nullptr; c = c->base)
    if (c == other) return true;
  return false;
}

const RuntimeClass Object::kClass{"Object", nullptr};

const RuntimeClass* Object::runtimeClass() const {
  return &kClass;
}

Object::~Object() = default;

void Object::serialize(Archive&) {}

void Object::assertValid() const {}

void Object::dump(std::ostream& out) const {
  out << "a " << runtimeClass()->name;
}

void Archive::writeCount(std::uint32_t count) {
  if (count < 0xFFFF) {
    unsigned char b[2] = {static_cast<unsigned char>(count),
                          static_cast<unsigned char>(count >> 8)};
    write(b, 2);
    return;
  }
  unsigned char b[6] = {0xFF,
                        0xFF,
                        static_cast<unsigned char>(count),
                        static_cast<unsigned char>(count >> 8),
                        static_cast<unsigned char>(count >> 16),
                        static_cast<unsigned char>(count >> 24)};
  write(b, 6);
}

std::uint32_t Archive::readCount() {
  unsigned char b[4];
  read(b, 2);
  std::uint32_t count = b[0] | (static_cast<std::uint32_t>(b[1]) << 8);
  if (count != 0xFFFF) return count;
  read(b, 4);
  return b[0] | (static_cast<std::uint32_t>(b[1]) << 8) | (static_cast<std::uint32_t>(b[2]) << 16) |
         (static_cast<std::uint32_t>(b[3]) << 24);
}

void Archive::write(const void* data, std::size_t size) {
  if (!isStoring()) throw ArchiveError{"write to a loading archive"};
  bytes_.append(static_cast<const char*>(data), size);
}

void Archive::read(void* data, std::size_t size) {
  if (!isLoading()) throw ArchiveError{"read from a storing archive"};
  if (bytes_.size() - position_ < size) throw ArchiveError{"archive ends early"};
  bytes_.copy(static_cast<char*>(data), size, position_);
  position_ += size;
}

}  // namespace ui
