#pragma once

#include <string>
#include <vector>

// An R12 DXF drawing that names no code page, with one horizontal line 6000
// long on each of `layers` (raw bytes, as the drawing stores them), 3000
// apart, handles from 20 up.
inline std::string r12Drawing(const std::vector<std::string>& layers) {
  std::string text =
      "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n"
      "  0\nSECTION\n  2\nENTITIES\n";
  int index = 0;
  for (const std::string& layer : layers) {
    const std::string y = std::to_string(3000 * index);
    text += "  0\nLINE\n  5\n" + std::to_string(20 + index) + "\n  8\n" + layer +
            "\n 10\n0\n 20\n" + y + "\n 11\n6000\n 21\n" + y + "\n";
    ++index;
  }
  return text + "  0\nENDSEC\n  0\nEOF\n";
}
