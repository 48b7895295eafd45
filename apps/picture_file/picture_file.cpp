#include "picture_file/picture_file.h"

#include <optional>

#include "formats/text_file.h"
#include "plot/render_scene.h"
#include "text/code_page.h"

namespace picture_file {

base::Status writePictureFile(const plot::Scene& scene, plot::PictureFormat format,
                              const std::string& path, FileSystem& files) {
  const std::string failed = "cannot write the picture " + path + ": ";
  const std::optional<std::string> cp936Path = text::utf8ToCp936(path);
  if (!cp936Path)
    return base::Status::error(failed + "the name has characters outside code page 936");
  base::Status drawn = base::Status::ok();
  const tavrin::WriteResult written =
      tavrin::writeFileInPlace(*cp936Path, files, [&](WritableFile& file) {
        // cairo and the encoder hand on small pieces: they go to the file a
        // megabyte at a time.
        constexpr std::size_t kPiece = std::size_t{1} << 20;
        std::string pending;
        FileStatus appended = FileStatus::ok();
        const auto sink = [&](std::string_view bytes) {
          pending.append(bytes);
          if (pending.size() >= kPiece) {
            appended = file.append(pending);
            pending.clear();
          }
          return appended.isOk();
        };
        drawn = plot::renderScene(scene, format, sink);
        if (!appended.isOk()) return appended;
        if (!drawn.isOk()) return FileStatus::error(drawn.message());
        return file.append(pending);
      });
  if (written.written()) return base::Status::ok();
  return base::Status::error(failed + written.status.message());
}

}  // namespace picture_file
