#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh, empty folder under the system's temporary folder, removed with
// everything in it when the object goes. Its name is ASCII, so its path is
// the same in UTF-8 and in code page 936.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` inside the folder, as a string.
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // The names of the entries in the folder, sorted.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path path_;
};

// The bytes of a file; empty when it cannot be read.
std::string fileBytes(const std::string& path);
// Creates or replaces a file with exactly `bytes`.
void putFileBytes(const std::string& path, const std::string& bytes);
