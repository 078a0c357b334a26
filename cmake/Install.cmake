# What `cmake --install` lays out (GNUInstallDirs; DESTDIR honoured):
#
#   bin/VelkorOndrix, bin/velkorondrix-ctl
#   lib/<arch>/libVelkorOndrix_HWI.so.<major>, its headers under
#     include/velkorondrix/ and its CMake package (find_package(VelkorOndrix_HWI)
#     gives VelkorOndrix_HWI::VelkorOndrix_HWI)
#   share/velkorondrix/          the resource file and the manual
#   lib/udev/rules.d/            access to the keyboard for the logged-in user
#   share/applications/, share/icons/hicolor/, share/man/man1/
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
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-velkorondrix.rules DESTINATION ${VELKORONDRIX_UDEV_RULES_DIR})
  # Manual pages are installed compressed; compressed again when it changes.
  set(_man_page ${PROJECT_SOURCE_DIR}/docs/velkorondrix-ctl.1)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_man_page})
  file(ARCHIVE_CREATE OUTPUT ${CMAKE_BINARY_DIR}/velkorondrix-ctl.1.gz PATHS ${_man_page}
    FORMAT raw COMPRESSION GZip COMPRESSION_LEVEL 9)
  install(FILES ${CMAKE_BINARY_DIR}/velkorondrix-ctl.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  if(TARGET VelkorOndrix)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/velkorondrix.desktop
      DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    get_property(_icon_theme_dir GLOBAL PROPERTY VELKORONDRIX_ICON_THEME_DIR)
    install(DIRECTORY ${_icon_theme_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  endif()
endif()

# ---- The device library for other programs ----------------------------------
install(TARGETS VelkorOndrix_HWI EXPORT VelkorOndrix_HWITargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
file(GLOB _hwi_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/device/include/*.h ${PROJECT_SOURCE_DIR}/device/sim/*.h)
install(FILES ${_hwi_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velkorondrix)
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
set(CPACK_PACKAGE_CONTACT "VelkorOndrix developers <velkorondrix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration program for the programmable 108-key USB keyboard")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The long description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "VelkorOndrix gives any key of the keyboard, on either of its two layers, a
single key, a combination, a recorded macro, an emulation or a multimedia,
mouse, backlight or power function, and every key its own backlight colour;
it writes them into the keyboard, reads them back, keeps them in profile
files and updates the keyboard's firmware, in English or Chinese.

The package holds the windowed program, the command-line tool
velkorondrix-ctl, the device library with its headers, and a udev rule that
lets the logged-in user open the keyboard.")
# The libraries from the binaries; what they load at run time by name: Qt's
# platform plugins and its Chinese texts, and a font for the Chinese captions.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
