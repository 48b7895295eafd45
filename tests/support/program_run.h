#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// What the tests that run a program through the shell take back from it.
struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// `text` as one word of a POSIX shell command line, whatever it holds.
inline std::string quoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) result += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

// The whole file as bytes; empty when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}
