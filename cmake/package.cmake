# The Debian package (`make package`: cpack -G DEB in the build folder): the program in bin, the
# virtual card in the package's own library folder, the board's firmware, a menu entry, icons,
# AppStream metainfo, the experiment file's MIME type and a manual page. Tests: the menu entry and the metainfo validated, and the
# package's contents checked.

# A Debian package installs under /usr; the program is compiled with the folder its virtual card
# is installed in, so the two always agree. A build folder configured before the package existed
# holds CMake's own default, /usr/local, in its cache: that too becomes /usr.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(CMAKE_INSTALL_PREFIX /usr CACHE PATH "Install prefix" FORCE)
endif()
set(PENDULAB_LIBDIR_RELATIVE lib/pendulab)
set(PENDULAB_LIBDIR ${CMAKE_INSTALL_PREFIX}/${PENDULAB_LIBDIR_RELATIVE})
foreach(core IN ITEMS pendulab_core pendulab_core_san)
  if(TARGET ${core})
    target_compile_definitions(${core} PRIVATE PENDULAB_LIBDIR="${PENDULAB_LIBDIR}")
  endif()
endforeach()

# Packaging takes what the build has made: it does not build everything first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(_pkg_src ${CMAKE_SOURCE_DIR}/packaging)
set(_pkg_out ${CMAKE_BINARY_DIR}/packaging)

# ---- generated files: the icon's PNG sizes and the compressed manual page ----
find_program(PENDULAB_RSVG_CONVERT rsvg-convert)
find_program(PENDULAB_GZIP gzip)
set(PENDULAB_ICON_SIZES 48 128 256)
set(_pkg_generated)
if(PENDULAB_RSVG_CONVERT)
  foreach(size IN LISTS PENDULAB_ICON_SIZES)
    set(png ${_pkg_out}/icons/${size}x${size}/pendulab.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg_out}/icons/${size}x${size}
      COMMAND ${PENDULAB_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${_pkg_src}/pendulab.svg
      DEPENDS ${_pkg_src}/pendulab.svg
      COMMENT "Icon ${size}x${size} from pendulab.svg"
      VERBATIM)
    list(APPEND _pkg_generated ${png})
    install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
  endforeach()
else()
  message(WARNING "rsvg-convert (librsvg2-bin) is missing: the package carries only the SVG icon")
endif()
if(PENDULAB_GZIP)
  set(_pkg_man ${_pkg_out}/pendulab.1.gz)
  add_custom_command(OUTPUT ${_pkg_man}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_pkg_out}
    COMMAND ${PENDULAB_GZIP} -9 -n -c ${_pkg_src}/pendulab.1 > ${_pkg_man}
    DEPENDS ${_pkg_src}/pendulab.1
    COMMENT "Manual page pendulab.1.gz"
    VERBATIM)
  list(APPEND _pkg_generated ${_pkg_man})
else()
  set(_pkg_man ${_pkg_src}/pendulab.1)
endif()
add_custom_target(pendulab_package_files ALL DEPENDS ${_pkg_generated})

# ---- what the package installs ----
install(TARGETS pendulab RUNTIME DESTINATION bin)
install(TARGETS SysamPCI LIBRARY DESTINATION ${PENDULAB_LIBDIR_RELATIVE})
install(FILES ${CMAKE_SOURCE_DIR}/firmware/README.md DESTINATION share/pendulab/firmware)
install(FILES ${CMAKE_SOURCE_DIR}/firmware/pendulab-board/pendulab-board.ino
        DESTINATION share/pendulab/firmware/pendulab-board)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/firmware/build-firmware.sh DESTINATION share/pendulab/firmware)
if(TARGET pendulab_board_firmware)
  install(FILES ${CMAKE_BINARY_DIR}/firmware/pendulab-board.hex DESTINATION share/pendulab/firmware)
endif()
install(FILES ${_pkg_src}/pendulab.desktop DESTINATION share/applications)
install(FILES ${_pkg_src}/pendulab.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${_pkg_src}/fr.pendulab.Pendulab.metainfo.xml DESTINATION share/metainfo)
# The experiment file's type; shared-mime-info's dpkg trigger rebuilds the database on install.
install(FILES ${_pkg_src}/pendulab-mime.xml DESTINATION share/mime/packages RENAME pendulab.xml)
install(FILES ${_pkg_man} DESTINATION share/man/man1)

# ---- the package ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pendulab)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Pendulab)
set(CPACK_PACKAGE_CONTACT "Pendulab maintainers <maintainers@users.noreply.c-seed-5c198b4a.example>"
    CACHE STRING "The package's maintainer")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "spring pendulum laboratory for the physics classroom")
# The extended description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pendulab records a mass oscillating on a spring from a SYSAM PCI data-acquisition
card or an Arduino-class board, plots it, derives it, draws the phase portrait
and the energy balance, and overlays a damped or driven oscillator whose
parameters are tuned by hand or fitted. A virtual card that simulates a real
pendulum lets a class work with no hardware at all.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://pendulab.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # Depends computed by dpkg-shlibdeps
# Qt's own buttons and dialogs in the program's language (qtbase_fr.qm…), which no library links to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
include(CPack)

# ---- tests ----
# The card found in the install folder when the given folder has none (the build's bin folder stands
# in for the install folder).
add_executable(package_card_folder ${CMAKE_SOURCE_DIR}/tests/package/card_folder.cpp ${CMAKE_SOURCE_DIR}/acquisition/CardSource.cpp)
target_compile_options(package_card_folder PRIVATE ${PENDULAB_WARNINGS})
target_compile_definitions(package_card_folder PRIVATE PENDULAB_LIBDIR="${CMAKE_BINARY_DIR}/bin")
target_link_libraries(package_card_folder PRIVATE pendulab_core)
add_dependencies(package_card_folder SysamPCI SysamPCI_not_a_library)
add_test(NAME package.card_in_install_folder COMMAND package_card_folder ${CMAKE_BINARY_DIR}/bin/fixtures/none/)
set_tests_properties(package.card_in_install_folder PROPERTIES ENVIRONMENT "VIRTUALCARD_PACE=none")

# Only where their tools are installed.
find_program(PENDULAB_DESKTOP_FILE_VALIDATE desktop-file-validate)
if(PENDULAB_DESKTOP_FILE_VALIDATE)
  add_test(NAME package.desktop_entry COMMAND ${PENDULAB_DESKTOP_FILE_VALIDATE} ${_pkg_src}/pendulab.desktop)
endif()
find_program(PENDULAB_APPSTREAMCLI appstreamcli)
if(PENDULAB_APPSTREAMCLI)
  add_test(NAME package.metainfo
           COMMAND ${PENDULAB_APPSTREAMCLI} validate --no-net ${_pkg_src}/fr.pendulab.Pendulab.metainfo.xml)
endif()
find_program(PENDULAB_DPKG_DEB dpkg-deb)
find_program(PENDULAB_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(PENDULAB_DPKG_DEB AND PENDULAB_DPKG_SHLIBDEPS)
  if(PENDULAB_RSVG_CONVERT)
    set(_pkg_icon_sizes ${PENDULAB_ICON_SIZES})
  else()
    set(_pkg_icon_sizes "")
  endif()
  if(TARGET pendulab_board_firmware)
    set(_pkg_hex 1)
  else()
    set(_pkg_hex 0)
  endif()
  string(REPLACE ";" " " _pkg_icon_sizes "${_pkg_icon_sizes}")
  add_test(NAME package.contents
           COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check-package.sh ${CMAKE_BINARY_DIR}/CPackConfig.cmake
                   ${PENDULAB_LIBDIR} "${_pkg_icon_sizes}" ${_pkg_hex})
  set_tests_properties(package.contents PROPERTIES TIMEOUT 120)
endif()
