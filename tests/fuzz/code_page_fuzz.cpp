// Code-page conversion both ways on any bytes: text that converts comes back
// unchanged, and the lossy forms always give valid text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "dxf/text_decoder.h"
#include "fuzz_check.h"
#include "text/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const std::optional<std::string> utf8 = text::cp936ToUtf8(bytes)) {
    FUZZ_CHECK(cad::dxf::isValidUtf8(*utf8));
    FUZZ_CHECK(text::utf8ToCp936(*utf8) == std::string(bytes));
  }
  if (const std::optional<std::string> cp936 = text::utf8ToCp936(bytes)) {
    FUZZ_CHECK(text::cp936ToUtf8(*cp936) == std::string(bytes));
  }
  FUZZ_CHECK(cad::dxf::isValidUtf8(text::cp936ToUtf8Lossy(bytes)));
  FUZZ_CHECK(text::cp936ToUtf8(text::utf8ToCp936Lossy(bytes)).has_value());
  return 0;
}
