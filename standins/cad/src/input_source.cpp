#include "cad/input_source.h"

#include <utility>

#include "host.h"

namespace cad {
namespace {

class ExhaustedInput final : public InputSource {
 public:
  Answer next() override { return Answer{}; }
  void reject(const Answer&, std::string_view) override {}
  bool interactive() const override { return false; }
  bool failed() const override { return false; }
};

}  // namespace

std::unique_ptr<InputSource> detail::exhaustedInput() {
  return std::make_unique<ExhaustedInput>();
}

InputSource& input() {
  return *detail::host().input();
}

std::unique_ptr<InputSource> setInput(std::unique_ptr<InputSource> source) {
  if (!source) source = detail::exhaustedInput();
  return std::exchange(detail::host().input(), std::move(source));
}

}  // namespace cad
