#include "cad/input_source.h"

#include <utility>

namespace cad {
namespace {

class ExhaustedInput final : public InputSource {
 public:
  Answer next() override { return Answer{}; }
  void reject(const Answer&, std::string_view) override {}
  bool interactive() const override { return false; }
  bool failed() const override { return false; }
};

std::unique_ptr<InputSource>& activeSource() {
  static std::unique_ptr<InputSource> source = std::make_unique<ExhaustedInput>();
  return source;
}

}  // namespace

InputSource& input() {
  return *activeSource();
}

std::unique_ptr<InputSource> setInput(std::unique_ptr<InputSource> source) {
  if (!source) source = std::make_unique<ExhaustedInput>();
  return std::exchange(activeSource(), std::move(source));
}

}  // namespace cad
