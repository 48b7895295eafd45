# A static library of the module: position-independent, hidden visibility (the
# module exports only its entry points). Its headers live under include/<layer>/
# and that folder is its only include root, so a layer reaches another layer's
# headers only by depending on it.
#   tavrin_module_library(NAME SOURCES a.cpp ... PUBLIC deps... PRIVATE deps...)
function(tavrin_module_library name)
  cmake_parse_arguments(L "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
endfunction()
