#include "host.h"

#include "cad/host_state.h"

namespace cad {
namespace detail {

Host::Host() : registry_(linker_, session_.commandStack, &session_.classDictionaryLookups) {}

void Host::reset() {
  session_ = Session{};
}

Host& host() {
  static Host instance;
  return instance;
}

}  // namespace detail

void resetHost() {
  detail::host().reset();
}

}  // namespace cad
