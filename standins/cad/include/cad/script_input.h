#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "cad/input_source.h"

namespace cad {

// Answers read from a script: UTF-8 text, one answer per line (LF or CR LF),
// taken in order by whoever asks next. Lines starting with ";" are comments
// and are skipped; "*cancel*" (any case, blanks around allowed) cancels; after
// the last line the script answers kEnd for ever. Each answer given is echoed
// on the command line followed by a line feed, so that the transcript reads
// like a session. A rejected answer is reported as "<name>:<line>: <reason>"
// and ends the script; so does a line that is not valid UTF-8.
class ScriptInput final : public InputSource {
 public:
  // `name` is how locations are reported (the path as the user gave it, or
  // "<stdin>"); `text` the whole script. A leading UTF-8 byte-order mark is
  // ignored.
  ScriptInput(std::string name, std::string_view text);
  // Reads the lines from `in` (not owned; must outlive this source) one at a
  // time as they are asked for, so that another program writing them over a
  // pipe sees each acted on before it sends the next.
  ScriptInput(std::string name, std::istream& in);

  // Reads the script at `path`. When it cannot be read, the status names the
  // file and the reason.
  static base::Result<std::unique_ptr<ScriptInput>> fromFile(const std::string& path);

  Answer next() override;
  void reject(const Answer& answer, std::string_view reason) override;
  bool interactive() const override { return false; }
  bool failed() const override { return failed_; }

  const std::string& name() const { return name_; }

 private:
  void fail(const std::string& location, std::string_view reason);
  // Reads one more line from the stream into lines_; false at its end.
  bool readLine();

  std::string name_;
  std::vector<std::string> lines_;
  std::istream* stream_ = nullptr;
  std::size_t nextLine_ = 0;  // index into lines_; line numbers are 1 + index
  bool ended_ = false;
  bool failed_ = false;
};

}  // namespace cad
