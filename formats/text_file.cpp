#include "formats/text_file.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "formats/project_files.h"
#include "printable_text.h"

namespace tavrin {

namespace {

constexpr std::size_t kTemporarySuffixDigits = 12;

// A name beside `path` that nothing holds yet. Random so that two writers of
// the same target never share one; the clock stands in when the system has
// no random device.
std::string temporaryNameFor(const std::string& path, FileSystem& files) {
  std::uint64_t seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  try {
    std::random_device device;
    seed ^= (std::uint64_t{device()} << 32) | device();
  } catch (...) {
    // The clock alone still differs between calls.
  }
  std::mt19937_64 generator(seed);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string name;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = path + ".~";
    std::uint64_t bits = generator();
    for (std::size_t i = 0; i < kTemporarySuffixDigits; ++i, bits >>= 4) name += kHex[bits & 0xF];
    if (!files.pathExists(name)) break;
  }
  return name;
}

WriteResult failure(const std::string& path, const FileStatus& status) {
  return WriteResult{WriteOutcome::kWriteFailed, path, status};
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// Removes the temporary files of `path` that an ended process left behind
// (the target's name, ".~" and twelve hexadecimal digits); those another
// writer is still at work on stay. Best effort: one that cannot be removed
// does no harm to this write.
void removeLeftTemporaries(const std::string& path, FileSystem& files) {
  const std::string folder = projectFolder(path);
  const std::string prefix = path.substr(folder.size()) + ".~";
  std::vector<std::string> names;
  if (!files.listFolder(folder, &names).isOk()) return;
  for (const std::string& name : names) {
    if (name.size() != prefix.size() + kTemporarySuffixDigits ||
        name.compare(0, prefix.size(), prefix) != 0)
      continue;
    bool hex = true;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) hex = hex && isHexDigit(name[i]);
    if (hex) files.removeAbandonedTemporary(folder + name);
  }
}

}  // namespace

std::string toDiskText(std::string_view text) {
  std::string disk;
  disk.reserve(text.size() + text.size() / 16 + 2);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      disk.append(text, start);
      break;
    }
    disk.append(text, start, end - start);
    disk += "\r\n";
    start = end + 1;
  }
  return disk;
}

FileGroup::~FileGroup() {
  for (const Staged& file : staged_) files_.removeFile(file.temporary);
}

WriteResult FileGroup::add(const std::string& path,
                           const std::function<FileStatus(WritableFile& file)>& write) {
  removeLeftTemporaries(path, files_);
  const std::string temporary = temporaryNameFor(path, files_);

  std::unique_ptr<WritableFile> file;
  if (FileStatus status = files_.newTemporaryFile(temporary, &file); !status.isOk())
    return failure(path, status);
  FileStatus status = write(*file);
  if (status.isOk()) status = file->close();
  file.reset();
  if (!status.isOk()) {
    files_.removeFile(temporary);
    return failure(path, status);
  }
  staged_.push_back({path, temporary});
  return WriteResult{WriteOutcome::kWritten, path};
}

WriteResult FileGroup::addText(const std::string& path, std::string_view text) {
  return add(path, [text](WritableFile& file) {
    // Piece by piece, so a large file never stands in memory twice.
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    FileStatus status = FileStatus::ok();
    for (std::size_t start = 0; start < text.size() && status.isOk(); start += kPiece)
      status = file.append(toDiskText(text.substr(start, kPiece)));
    return status;
  });
}

WriteResult FileGroup::putInPlace() {
  const std::unique_ptr<SignalHold> hold = files_.holdEndingSignals();
  std::vector<Staged> staged = std::move(staged_);
  staged_.clear();
  for (std::size_t i = 0; i < staged.size(); ++i) {
    if (FileStatus status = files_.replaceFile(staged[i].temporary, staged[i].path);
        !status.isOk()) {
      for (std::size_t j = i; j < staged.size(); ++j) files_.removeFile(staged[j].temporary);
      return failure(staged[i].path, status);
    }
  }
  return WriteResult{WriteOutcome::kWritten, staged.empty() ? std::string() : staged.back().path};
}

WriteResult writeFileInPlace(const std::string& path, FileSystem& files,
                             const std::function<FileStatus(WritableFile& file)>& write) {
  FileGroup group(files);
  if (WriteResult result = group.add(path, write); !result.written()) return result;
  return group.putInPlace();
}

WriteResult writeTextFile(const std::string& path, std::string_view text, FileSystem& files) {
  FileGroup group(files);
  if (WriteResult result = group.addText(path, text); !result.written()) return result;
  return group.putInPlace();
}

FileStatus readFirstLine(const std::string& path, FileSystem& files, std::string* line,
                         std::size_t limit) {
  std::string contents;
  if (FileStatus status = files.readFile(path, limit, &contents); !status.isOk()) return status;
  const std::size_t end = contents.find('\n');
  if (end == std::string::npos && contents.size() >= limit)
    return FileStatus::error("first line of \"" + printableText(path) + "\" is longer than " +
                             std::to_string(limit) + " bytes");
  std::string first = contents.substr(0, end);
  if (end != std::string::npos && !first.empty() && first.back() == '\r') first.pop_back();
  *line = std::move(first);
  return FileStatus::ok();
}

}  // namespace tavrin
