# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# What `cmake --install` lays out (GNUInstallDirs; DESTDIR honoured):
#
#   bin/VelkorOndrix, bin/velkorondrix-ctl
#   lib/<arch>/libVelkorOndrix_HWI.so.<major>, its headers under
#     include/velkorondrix/, its CMake package (find_package(VelkorOndrix_HWI)
#     gives VelkorOndrix_HWI::VelkorOndrix_HWI) and pkgconfig/velkorondrix-hwi.pc
#   share/velkorondrix/          the resource file and the manual
#   lib/udev/rules.d/            access to the keyboard's interface 1 for the
#                                logged-in user
#   share/applications/, share/metainfo/, share/icons/hicolor/, share/man/man1/
#   share/doc/velkorondrix/      copyright and changelog.gz
#   share/lintian/overrides/     the package's overrides, each with its reason
#
# and the Debian package `cpack -G DEB` makes of it. Included once every
# target exists.

include(CMakePackageConfigHelpers)

set(VELKORONDRIX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/velkorondrix)
set(VELKORONDRIX_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING
  "Folder of the udev rule, relative to the installation prefix")

# The programs find the library and their data relative to their own
# folder, so a moved installation or an unpacked package still runs.
file(RELATIVE_PATH _lib_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
file(RELATIVE_PATH _data_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/velkorondrix)
if(TARGET VelkorOndrixShell)
  target_compile_definitions(VelkorOndrixShell PUBLIC VELKORONDRIX_DATA_FROM_PROGRAM="${_data_from_bin}")
endif()
set(_programs velkorondrix-ctl)
if(TARGET VelkorOndrix)
  list(APPEND _programs VelkorOndrix)
endif()
if(UNIX AND NOT APPLE)
  set_target_properties(${_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${_lib_from_bin}")
endif()

# ---- Programs, their data and the desktop's entries ------------------------
install(TARGETS ${_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET VelkorOndrix)
  install(FILES ${CMAKE_BINARY_DIR}/bin/VelkorOndrix_RES.rcc ${PROJECT_SOURCE_DIR}/docs/VelkorOndrix.html
    DESTINATION ${VELKORONDRIX_DATA_DIR})
endif()
# Published under these: set both when building a package for others
# (README, "Install"). The defaults are placeholders that say so.
set(VELKORONDRIX_MAINTAINER "The VelkorOndrix developers <velkorondrix@example.org>" CACHE STRING
  "Maintainer of the Debian package: Name <address>")
set(VELKORONDRIX_HOMEPAGE "https://velkorondrix.example.org/" CACHE STRING
  "Home page of the project, in the package and the software centre's metadata")

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-velkorondrix.rules DESTINATION ${VELKORONDRIX_UDEV_RULES_DIR})
  # Manual pages and the changelog are installed compressed without a time
  # stamp (gzip -n), so the same sources give the same package; compressed
  # again when they change.
  set(_man_pages ${PROJECT_SOURCE_DIR}/docs/velkorondrix-ctl.1)
  if(TARGET VelkorOndrix)
    list(APPEND _man_pages ${PROJECT_SOURCE_DIR}/docs/VelkorOndrix.1)
  endif()
  set(_doc_dir ${CMAKE_BINARY_DIR}/doc)
  file(MAKE_DIRECTORY ${_doc_dir})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${_doc_dir}/changelog @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright ${_doc_dir}/copyright @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_man_pages})
  foreach(_file IN LISTS _man_pages ITEMS ${_doc_dir}/changelog)
    get_filename_component(_name ${_file} NAME)
    execute_process(COMMAND gzip -9 -n -c ${_file} OUTPUT_FILE ${_doc_dir}/${_name}.gz COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  foreach(_page IN LISTS _man_pages)
    get_filename_component(_name ${_page} NAME)
    install(FILES ${_doc_dir}/${_name}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  install(FILES ${_doc_dir}/copyright ${_doc_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkorondrix)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME velkorondrix)
  if(TARGET VelkorOndrix)
    # One id for the desktop entry, the software centre's metadata, the
    # Wayland app id and the X11 window class.
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.velkorondrix.VelkorOndrix.desktop
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/org.velkorondrix.VelkorOndrix.metainfo.xml
      ${_doc_dir}/org.velkorondrix.VelkorOndrix.metainfo.xml @ONLY)
    install(FILES ${_doc_dir}/org.velkorondrix.VelkorOndrix.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    get_property(_icon_theme_dir GLOBAL PROPERTY VELKORONDRIX_ICON_THEME_DIR)
    install(DIRECTORY ${_icon_theme_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  endif()
endif()

# ---- The device library for other programs ----------------------------------
install(TARGETS VelkorOndrix_HWI EXPORT VelkorOndrix_HWITargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
# The public headers (not the simulated keyboard's), as <velkorondrix/...>.
file(GLOB _hwi_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/device/include/velkorondrix/*.h)
install(FILES ${_hwi_headers} ${CMAKE_BINARY_DIR}/device/include/velkorondrix/VelkorOndrix_HWIVersion.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velkorondrix)
configure_file(${PROJECT_SOURCE_DIR}/packaging/velkorondrix-hwi.pc.in ${CMAKE_BINARY_DIR}/velkorondrix-hwi.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/velkorondrix-hwi.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
set(_hwi_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/VelkorOndrix_HWI)
install(EXPORT VelkorOndrix_HWITargets NAMESPACE VelkorOndrix_HWI:: DESTINATION ${_hwi_package_dir})
file(WRITE ${CMAKE_BINARY_DIR}/VelkorOndrix_HWIConfig.cmake
  "include(\"\${CMAKE_CURRENT_LIST_DIR}/VelkorOndrix_HWITargets.cmake\")\n")
write_basic_package_version_file(${CMAKE_BINARY_DIR}/VelkorOndrix_HWIConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/VelkorOndrix_HWIConfig.cmake ${CMAKE_BINARY_DIR}/VelkorOndrix_HWIConfigVersion.cmake
  DESTINATION ${_hwi_package_dir})

# ---- The Debian package -------------------------------------------------------
set(CPACK_PACKAGE_NAME velkorondrix)
set(CPACK_PACKAGE_VENDOR VelkorOndrix)
set(CPACK_PACKAGE_CONTACT "${VELKORONDRIX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VELKORONDRIX_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure the programmable 108-key USB keyboard 0483:5022")
# The binaries are stripped into the package and their debug symbols go to
# velkorondrix-dbgsym (by build id); CPack does both only with binaries it
# has not stripped already.
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "VelkorOndrix configures the programmable 108-key USB keyboard with the
USB ID 0483:5022. It gives any key of the keyboard, on either of its two
layers, a single key, a combination, a recorded macro, an emulation or a
multimedia, mouse, backlight or power function, and every key its own
backlight colour; it writes them into the keyboard, reads them back, keeps
them in profile files and updates the keyboard's firmware, in English or
Chinese.

The package holds the windowed program, the command-line tool
velkorondrix-ctl (whose doctor command says what keeps the keyboard from
working on this machine), the device library with its headers, and a udev
rule that lets the logged-in user open the keyboard's configuration
interface.")
# The libraries from the binaries; what they load at run time by name: Qt's
# platform plugins; Qt's own Chinese texts (only the Chinese interface needs
# them) and a font for the Chinese captions are recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/postrm
  ${PROJECT_SOURCE_DIR}/packaging/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
