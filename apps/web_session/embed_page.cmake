# Writes OUTPUT, a C++ file holding every file of PAGE_DIR as bytes, for the
# web session to serve. Run as: cmake -DPAGE_DIR=... -DOUTPUT=... -P embed_page.cmake
file(GLOB files RELATIVE ${PAGE_DIR} ${PAGE_DIR}/*)
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS files)
  if(IS_DIRECTORY ${PAGE_DIR}/${name})
    continue()
  endif()
  file(READ ${PAGE_DIR}/${name} bytes HEX)
  string(LENGTH "${bytes}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
  string(APPEND arrays "const unsigned char kFile${index}[] = {${bytes}0};\n")
  string(APPEND entries "      {\"${name}\", {reinterpret_cast<const char*>(kFile${index}), ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new
"// Generated from apps/web_session/page by embed_page.cmake; do not edit.\n"
"#include \"web_session/page_assets.h\"\n\n"
"namespace web {\nnamespace {\n\n${arrays}\n}  // namespace\n\n"
"const std::vector<PageFile>& pageFiles() {\n"
"  static const std::vector<PageFile> files{\n${entries}  };\n"
"  return files;\n}\n\n}  // namespace web\n")
# Only a changed file is rewritten, so that nothing is rebuilt needlessly.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
