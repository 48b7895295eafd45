#include "files/posix_file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "text/code_page.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards. Paths handed to the file
// system are code page 936; the folder's own name is ASCII.
class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavrin-fs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // `name` is UTF-8; the result is the cp936 path the module would pass.
  std::string path(const std::string& name) const {
    return *text::utf8ToCp936((folder_ / name).string());
  }
  std::string utf8Path(const std::string& name) const { return (folder_ / name).string(); }

  static std::string contentsOf(const std::string& utf8) {
    std::ifstream in(utf8, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  FileStatus writeFile(const std::string& cp936Path, std::string_view data) {
    std::unique_ptr<WritableFile> file;
    FileStatus status = files_.newWritableFile(cp936Path, &file);
    if (!status.isOk()) return status;
    status = file->append(data);
    if (!status.isOk()) return status;
    return file->close();
  }

  fs::path folder_;
  int failedWrites_ = 0;
  files::PosixFileSystem files_{[this] { ++failedWrites_; }};
};

TEST_F(PosixFileSystemTest, WritesBytesUnchangedUnderAChineseName) {
  const std::string data = std::string("0\r\nGraph Link\n\0\xff", 17);
  ASSERT_TRUE(writeFile(path("住宅.N1"), data).isOk());
  // The operating system sees the UTF-8 name.
  EXPECT_EQ(contentsOf(utf8Path("住宅.N1")), data);

  std::string read;
  ASSERT_TRUE(files_.readFile(path("住宅.N1"), 1 << 20, &read).isOk());
  EXPECT_EQ(read, data);
  EXPECT_TRUE(files_.pathExists(path("住宅.N1")));
}

// Folder permissions hold only for a user other than root; the cases that
// need one are left out when the test runs as root (the export's test asks
// as an unprivileged user).
TEST_F(PosixFileSystemTest, CanCreateFilesOnlyInAnExistingFolderThatGrantsIt) {
  fs::create_directory(utf8Path("住宅"));
  fs::create_directory(utf8Path("closed"));
  fs::permissions(utf8Path("closed"), fs::perms(0555));
  ASSERT_TRUE(writeFile(path("file"), "x").isOk());
  struct Case {
    std::string folder;
    bool expected;
    bool asRootToo;
  } cases[] = {
      {path("住宅"), true, true},  {path("住宅") + "/", true, true}, {path("missing"), false, true},
      {path("file"), false, true}, {path("closed"), false, false},
  };
  for (const Case& c : cases)
    if (c.asRootToo || ::geteuid() != 0)
      EXPECT_EQ(files_.canCreateFilesIn(c.folder), c.expected) << c.folder;
  fs::permissions(utf8Path("closed"), fs::perms(0755));
  EXPECT_EQ(failedWrites_, 0) << "a question, not a failed write";
}

TEST_F(PosixFileSystemTest, NewWritableFileTruncatesAnExistingFile) {
  ASSERT_TRUE(writeFile(path("a.inf"), "a long first content").isOk());
  ASSERT_TRUE(writeFile(path("a.inf"), "short").isOk());
  EXPECT_EQ(contentsOf(utf8Path("a.inf")), "short");
}

TEST_F(PosixFileSystemTest, ReadStopsAtTheLimit) {
  ASSERT_TRUE(writeFile(path("big"), std::string(20000, 'x')).isOk());
  std::string read;
  ASSERT_TRUE(files_.readFile(path("big"), 9000, &read).isOk());
  EXPECT_EQ(read.size(), 9000u);
}

TEST_F(PosixFileSystemTest, FailuresNameThePathAndTheReason) {
  ASSERT_TRUE(writeFile(path("plain"), "x").isOk());
  fs::create_directory(folder_ / "sub");
  struct Case {
    const char* label;
    FileStatus status;
    std::string named;
  };
  std::unique_ptr<WritableFile> file;
  std::string read;
  Case cases[] = {
      {"create in a missing folder", files_.newWritableFile(path("missing/a.N1"), &file),
       utf8Path("missing/a.N1")},
      {"create below a regular file", files_.newWritableFile(path("plain/a.N1"), &file),
       utf8Path("plain/a.N1")},
      {"read a missing file", files_.readFile(path("none.inf"), 100, &read), utf8Path("none.inf")},
      {"read a folder", files_.readFile(path("sub"), 100, &read), utf8Path("sub")},
      {"rename a missing file", files_.renameFile(path("none"), path("other")), utf8Path("none")},
      {"remove a missing file", files_.removeFile(path("none")), utf8Path("none")},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(c.status.isOk()) << c.label;
    EXPECT_NE(c.status.message().find(c.named), std::string::npos)
        << c.label << ": " << c.status.message();
  }
  EXPECT_EQ(file, nullptr);
}

TEST_F(PosixFileSystemTest, PathThatIsNotCodePage936IsRefusedByName) {
  const std::string bad = *text::utf8ToCp936(folder_.string()) + "/bad\x81";
  std::unique_ptr<WritableFile> file;
  FileStatus status = files_.newWritableFile(bad, &file);
  ASSERT_FALSE(status.isOk());
  EXPECT_NE(status.message().find("code page 936"), std::string::npos) << status.message();
  EXPECT_NE(status.message().find("/bad"), std::string::npos) << status.message();
  EXPECT_FALSE(files_.pathExists(bad));
  EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(PosixFileSystemTest, RenameReplacesTheTargetAndRemoveDeletes) {
  ASSERT_TRUE(writeFile(path("old"), "old content").isOk());
  ASSERT_TRUE(writeFile(path("new.tmp"), "new content").isOk());
  ASSERT_TRUE(files_.renameFile(path("new.tmp"), path("old")).isOk());
  EXPECT_EQ(contentsOf(utf8Path("old")), "new content");
  EXPECT_FALSE(files_.pathExists(path("new.tmp")));

  ASSERT_TRUE(files_.removeFile(path("old")).isOk());
  EXPECT_FALSE(files_.pathExists(path("old")));
}

TEST_F(PosixFileSystemTest, PathExistsForFilesAndFoldersOnly) {
  fs::create_directory(folder_ / "工程");
  ASSERT_TRUE(writeFile(path("f"), "").isOk());
  EXPECT_TRUE(files_.pathExists(path("工程")));
  EXPECT_TRUE(files_.pathExists(path("f")));
  EXPECT_FALSE(files_.pathExists(path("nothing")));
  EXPECT_FALSE(files_.pathExists(""));
}

TEST_F(PosixFileSystemTest, ClosingTwiceIsAnErrorNotACrash) {
  std::unique_ptr<WritableFile> file;
  ASSERT_TRUE(files_.newWritableFile(path("twice"), &file).isOk());
  EXPECT_TRUE(file->close().isOk());
  EXPECT_FALSE(file->close().isOk());
  EXPECT_FALSE(file->append("late").isOk());
}

unsigned modeOf(const std::string& utf8) {
  struct stat info {};
  return ::stat(utf8.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// The mode bits decide, also for a process the kernel would let through.
TEST_F(PosixFileSystemTest, ReplacingKeepsTheModeAndRefusesFilesNobodyMayWrite) {
  struct Case {
    const char* label;
    unsigned mode;
    bool replaced;
  } cases[] = {
      {"group-readable", 0640, true},      {"owner may write only", 0200, true},
      {"everybody may write", 0666, true}, {"read-only for all", 0444, false},
      {"no bits at all", 0000, false},
  };
  for (const Case& c : cases) {
    const std::string old = std::string("old\r\n\0\xff", 7);
    ASSERT_TRUE(writeFile(path("住宅.N1"), old).isOk());
    ASSERT_EQ(::chmod(utf8Path("住宅.N1").c_str(), c.mode), 0);
    ASSERT_TRUE(writeFile(path("住宅.N1.~tmp"), "new").isOk());
    const int failuresBefore = failedWrites_;
    const FileStatus status = files_.replaceFile(path("住宅.N1.~tmp"), path("住宅.N1"));
    EXPECT_EQ(status.isOk(), c.replaced) << c.label << ": " << status.message();
    EXPECT_EQ(modeOf(utf8Path("住宅.N1")), c.mode) << c.label;
    if (c.replaced) {
      EXPECT_EQ(contentsOf(utf8Path("住宅.N1")), "new") << c.label;
      EXPECT_EQ(failedWrites_, failuresBefore) << c.label;
    } else {
      EXPECT_TRUE(status.isReadOnly()) << c.label;
      EXPECT_NE(status.message().find(utf8Path("住宅.N1")), std::string::npos) << c.label;
      EXPECT_EQ(contentsOf(utf8Path("住宅.N1")), old) << c.label;
      EXPECT_EQ(failedWrites_, failuresBefore + 1) << c.label;
      ASSERT_TRUE(files_.removeFile(path("住宅.N1.~tmp")).isOk());
    }
    ASSERT_EQ(::chmod(utf8Path("住宅.N1").c_str(), 0600), 0);
  }
  // Without a file in the way it is a plain rename.
  ASSERT_TRUE(writeFile(path("fresh.~tmp"), "x").isOk());
  ASSERT_TRUE(files_.replaceFile(path("fresh.~tmp"), path("fresh")).isOk());
  EXPECT_EQ(contentsOf(utf8Path("fresh")), "x");
}

TEST_F(PosixFileSystemTest, FailuresCarryTheSystemErrorNumber) {
  std::unique_ptr<WritableFile> file;
  EXPECT_EQ(files_.newWritableFile(path("missing/a"), &file).systemError(), ENOENT);
  fs::create_directory(folder_ / "in-the-way");
  ASSERT_TRUE(writeFile(path("t"), "x").isOk());
  EXPECT_EQ(files_.replaceFile(path("t"), path("in-the-way")).systemError(), EISDIR);
}

// A signal that ends the process during a write takes the temporary file
// with it; one already put in place stays.
TEST_F(PosixFileSystemTest, EndingSignalsRemoveTemporaryFilesNotYetInPlace) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    ASSERT_TRUE(writeFile(path("a.N1"), "old").isOk());
    EXPECT_EXIT(
        {
          std::unique_ptr<WritableFile> file;
          if (!files_.newTemporaryFile(path("a.N1.~pending"), &file).isOk()) std::_Exit(1);
          file->append("half of it");
          std::raise(signal);
          std::_Exit(2);
        },
        ::testing::KilledBySignal(signal), "");
    EXPECT_FALSE(fs::exists(folder_ / "a.N1.~pending"));
    EXPECT_EQ(contentsOf(utf8Path("a.N1")), "old");

    EXPECT_EXIT(
        {
          std::unique_ptr<WritableFile> file;
          if (!files_.newTemporaryFile(path("a.N1.~done"), &file).isOk()) std::_Exit(1);
          file->append("new");
          file->close();
          if (!files_.replaceFile(path("a.N1.~done"), path("a.N1")).isOk()) std::_Exit(1);
          std::raise(signal);
          std::_Exit(2);
        },
        ::testing::KilledBySignal(signal), "");
    EXPECT_EQ(contentsOf(utf8Path("a.N1")), "new");
  }
}

TEST_F(PosixFileSystemTest, AFolderLockIsHeldByOneHolderAtATime) {
  std::unique_ptr<FolderLock> first, second;
  ASSERT_TRUE(files_.lockFolder(path(""), 0, &first).isOk());
  ASSERT_NE(first, nullptr);
  const FileStatus busy = files_.lockFolder(path(""), 100, &second);
  EXPECT_FALSE(busy.isOk());
  EXPECT_EQ(busy.systemError(), EWOULDBLOCK);
  EXPECT_NE(busy.message().find(folder_.string()), std::string::npos) << busy.message();
  EXPECT_EQ(second, nullptr);
  first.reset();
  EXPECT_TRUE(files_.lockFolder(path(""), 0, &second).isOk());
  EXPECT_EQ(files_.lockFolder(path("missing"), 0, &first).systemError(), ENOENT);
}

// Two writers of one target each clean up what ended writers left: a
// temporary file still being written is passed by until it is put in place.
TEST_F(PosixFileSystemTest, ATemporaryFileBeingWrittenIsNotTakenForAbandoned) {
  std::unique_ptr<WritableFile> file;
  ASSERT_TRUE(files_.newTemporaryFile(path("p.png.~000000000001"), &file).isOk());
  ASSERT_TRUE(file->append("picture").isOk());
  EXPECT_TRUE(files_.removeAbandonedTemporary(path("p.png.~000000000001")).isOk());
  EXPECT_TRUE(fs::exists(utf8Path("p.png.~000000000001")));
  // Closed but not yet in place: still being written.
  ASSERT_TRUE(file->close().isOk());
  EXPECT_TRUE(files_.removeAbandonedTemporary(path("p.png.~000000000001")).isOk());
  ASSERT_TRUE(files_.replaceFile(path("p.png.~000000000001"), path("p.png")).isOk());
  EXPECT_EQ(contentsOf(utf8Path("p.png")), "picture");

  // Left by a writer that is gone: removed; a missing one is no failure.
  ASSERT_TRUE(writeFile(path("p.png.~000000000002"), "left").isOk());
  EXPECT_TRUE(files_.removeAbandonedTemporary(path("p.png.~000000000002")).isOk());
  EXPECT_FALSE(fs::exists(utf8Path("p.png.~000000000002")));
  EXPECT_TRUE(files_.removeAbandonedTemporary(path("p.png.~000000000003")).isOk());
}

TEST_F(PosixFileSystemTest, ReadsAFileAPieceAtATime) {
  ASSERT_TRUE(writeFile(path("pieces"), "abcdefghij").isOk());
  std::unique_ptr<ReadableFile> file;
  ASSERT_TRUE(files_.openReadableFile(path("pieces"), &file).isOk());
  std::string piece, whole;
  std::vector<std::size_t> sizes;
  do {
    ASSERT_TRUE(file->read(4, &piece).isOk());
    whole += piece;
    sizes.push_back(piece.size());
  } while (!piece.empty());
  EXPECT_EQ(whole, "abcdefghij");
  EXPECT_EQ(sizes, (std::vector<std::size_t>{4, 4, 2, 0}));
  EXPECT_EQ(files_.openReadableFile(path("missing"), &file).systemError(), ENOENT);
  EXPECT_EQ(files_.openReadableFile(path(""), &file).systemError(), EISDIR);
}

TEST_F(PosixFileSystemTest, ListsAFoldersNamesInCodePage936) {
  ASSERT_TRUE(writeFile(path("住宅.N1"), "").isOk());
  fs::create_directory(folder_ / "sub");
  std::vector<std::string> names;
  ASSERT_TRUE(files_.listFolder(path(""), &names).isOk());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"sub", *text::utf8ToCp936("住宅.N1")}));
  EXPECT_FALSE(files_.listFolder(path("missing"), &names).isOk());
}

}  // namespace
