#include "support/fault_injecting_file_system.h"

#include <cerrno>

namespace {

class FaultInjectingFile : public WritableFile {
 public:
  FaultInjectingFile(std::unique_ptr<WritableFile> file, FaultInjectingFileSystem& owner,
                     std::string path)
      : file_(std::move(file)), owner_(owner), path_(std::move(path)) {}

  FileStatus append(std::string_view data) override {
    ++owner_.appendCalls;
    if (owner_.appendCalls == owner_.failAppendNumber) {
      // A disk that fills up takes part of the data before it refuses.
      file_->append(data.substr(0, data.size() / 2));
      return FileStatus::error("cannot write \"" + path_ + "\": No space left on device", ENOSPC);
    }
    return file_->append(data);
  }

  FileStatus close() override {
    FileStatus status = file_->close();
    if (owner_.failClose)
      return FileStatus::error("cannot close \"" + path_ + "\": I/O error", EIO);
    return status;
  }

 private:
  std::unique_ptr<WritableFile> file_;
  FaultInjectingFileSystem& owner_;
  std::string path_;
};

}  // namespace

FileStatus FaultInjectingFileSystem::newWritableFile(const std::string& path,
                                                     std::unique_ptr<WritableFile>* file) {
  created.push_back(path);
  if (failCreate)
    return FileStatus::error("cannot create \"" + path + "\": Permission denied", EACCES);
  std::unique_ptr<WritableFile> real;
  if (FileStatus status = host_.newWritableFile(path, &real); !status.isOk()) return status;
  *file = std::make_unique<FaultInjectingFile>(std::move(real), *this, path);
  return FileStatus::ok();
}

FileStatus FaultInjectingFileSystem::readFile(const std::string& path, std::size_t limit,
                                              std::string* contents) {
  return host_.readFile(path, limit, contents);
}

FileStatus FaultInjectingFileSystem::renameFile(const std::string& from, const std::string& to) {
  if (failRename)
    return FileStatus::error("cannot rename \"" + from + "\" to \"" + to + "\": I/O error", EIO);
  return host_.renameFile(from, to);
}

FileStatus FaultInjectingFileSystem::newTemporaryFile(const std::string& path,
                                                      std::unique_ptr<WritableFile>* file) {
  return newWritableFile(path, file);
}

FileStatus FaultInjectingFileSystem::replaceFile(const std::string& from, const std::string& to) {
  if (failRename) return renameFile(from, to);
  return host_.replaceFile(from, to);
}

FileStatus FaultInjectingFileSystem::listFolder(const std::string& folder,
                                                std::vector<std::string>* names) {
  return host_.listFolder(folder, names);
}

FileStatus FaultInjectingFileSystem::removeFile(const std::string& path) {
  return host_.removeFile(path);
}

FileStatus FaultInjectingFileSystem::removeAbandonedTemporary(const std::string& path) {
  return host_.removeAbandonedTemporary(path);
}

bool FaultInjectingFileSystem::pathExists(const std::string& path) {
  return host_.pathExists(path);
}
