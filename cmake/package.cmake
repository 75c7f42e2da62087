# What an installed copy adds to the system beside the program's own tree
# under the prefix (/opt/torva6): the desktop entry, the icon, the manual
# pages and the links on the search path, all under TORVA_SYSTEM_PREFIX
# (/usr). And the Debian package that carries all of it (scripts/package).
set(TORVA_SYSTEM_PREFIX /usr CACHE PATH "Where the desktop entry, icon, manual pages and links go")
set(share ${TORVA_SYSTEM_PREFIX}/share)

install(FILES resources/desktop/torva6.desktop DESTINATION ${share}/applications)
install(FILES resources/desktop/torva6.svg
        DESTINATION ${share}/icons/hicolor/scalable/apps)
# The bitmaps are rendered from the SVG (rsvg-convert -w N -h N).
foreach(size 48 128 256)
  install(FILES resources/desktop/torva6_${size}.png
          DESTINATION ${share}/icons/hicolor/${size}x${size}/apps RENAME torva6.png)
endforeach()

# Manual pages, compressed as the system keeps them.
set(man_pages)
foreach(page torva6 ta12 rt12run rt12check)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/docs/man/${page}.1 > ${gz}
    DEPENDS docs/man/${page}.1)
  list(APPEND man_pages ${gz})
endforeach()
add_custom_target(torva_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${share}/man/man1)

# The programs themselves (stripped when packaged).
foreach(program torva6 ta12 rt12run rt12check)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION bin)
  endif()
endforeach()

# The programs on the search path: links to the real files, so that each
# still finds its config/ and include/ beside its own directory.
foreach(program torva6 ta12 rt12run rt12check)
  if(NOT TARGET ${program})
    continue()
  endif()
  install(CODE "
    set(link \"\$ENV{DESTDIR}${TORVA_SYSTEM_PREFIX}/bin/${program}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${TORVA_SYSTEM_PREFIX}/bin\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK \"\${CMAKE_INSTALL_PREFIX}/bin/${program}\" \"\${link}\" SYMBOLIC)
    message(STATUS \"Installing: \${link}\")")
endforeach()

# The Debian package: torva6_<version>_<arch>.deb in the build directory.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE deb_arch
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT deb_arch)
  set(deb_arch amd64)
endif()

# Debian's documentation files: copyright and changelog, compressed.
set(deb_doc ${CMAKE_BINARY_DIR}/package-doc)
configure_file(cmake/debian/copyright ${deb_doc}/copyright COPYONLY)
configure_file(cmake/debian/changelog.in ${deb_doc}/changelog @ONLY)
add_custom_command(OUTPUT ${deb_doc}/changelog.gz
  COMMAND gzip -9 -n -c ${deb_doc}/changelog > ${deb_doc}/changelog.gz
  DEPENDS ${deb_doc}/changelog)
add_custom_target(torva_package_doc ALL DEPENDS ${deb_doc}/changelog.gz)
install(FILES ${deb_doc}/copyright ${deb_doc}/changelog.gz DESTINATION ${share}/doc/torva6)
# The design puts the program under /opt, which Debian's own packages leave
# to local software; the package says that it means to.
install(FILES cmake/debian/lintian-overrides DESTINATION ${share}/lintian/overrides
        RENAME torva6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torva6)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Vardel)
set(CPACK_PACKAGE_CONTACT "Vardel <torva6@vardel.example>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME torva6_${PROJECT_VERSION}_${deb_arch}.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${deb_arch})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries' runtime packages (Qt, QScintilla, Qt SerialPort, the C++
# runtime) come from the programs themselves through dpkg-shlibdeps; the
# fonts the windows name are added by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "development environment for the RT12 HCS12 board")
# The summary above becomes the first line; CPack indents these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"TORVA 6 for RT12 edits assembly sources with syntax colouring, assembles
them with its built-in absolute cross-assembler (HC12, HCS12, HCS12X,
XGATE) into S-record load files and listings, runs them on a simulator of
the CPU and the board with its devices, and talks to the real board's
monitor over a serial line.

The command-line programs ta12 (assembler) and rt12run (simulator without
windows) serve scripts and graders.")
include(CPack)
