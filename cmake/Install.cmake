# Installed like any tool: the programs in bin/, the module and the host's
# libraries in lib/tavrin/, the examples in share/tavrin/, man pages and bash
# completion; and a Debian package of all that (cpack -G DEB).
# Installing (and cpack) takes what the build made and builds nothing itself:
# the package test runs among the tests, after the build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(TAVRIN_LIB_DIR lib/tavrin)
set(tavrin_libraries cadhost_lib cadui host_files)
set_target_properties(cadhost morlenview PROPERTIES INSTALL_RPATH "$ORIGIN/../${TAVRIN_LIB_DIR}")
set_target_properties(${tavrin_libraries} tavrin PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS cadhost morlenview RUNTIME DESTINATION bin)
install(TARGETS ${tavrin_libraries} LIBRARY DESTINATION ${TAVRIN_LIB_DIR})
install(TARGETS tavrin LIBRARY DESTINATION ${TAVRIN_LIB_DIR})
install(DIRECTORY examples/house examples/plan DESTINATION share/tavrin/examples)

# One source for --help and the man page: the program itself.
set(man_pages)
foreach(page "cadhost|the CAD host: loads a drawing and the tavrin module, runs acadtomn"
             "morlenview|pictures of the floors of a Morlen project, and whether they line up")
  string(REPLACE "|" ";" page "${page}")
  list(GET page 0 name)
  list(GET page 1 summary)
  set(output ${CMAKE_BINARY_DIR}/man/${name}.1)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${name}> -DNAME=${name}
            "-DSUMMARY=${summary}" -DOUTPUT=${output} -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS ${name} ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    COMMENT "Man page of ${name} from its --help" VERBATIM)
  list(APPEND man_pages ${output})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION share/man/man1)
foreach(name cadhost morlenview)
  install(FILES tools/completion/tavrin.bash DESTINATION share/bash-completion/completions
          RENAME ${name})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_CONTACT "tavrin developers <tavrin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CAD axis grids to Morlen floors: cadhost, the module, morlenview")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# What the programs and libraries link at run time (cairo for pictures).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libcairo2")
include(CPack)
