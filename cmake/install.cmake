# Installation: libraries, public headers (with the generated version.h), the
# command line and its manual page, the example settings files, a pkg-config
# file and a CMake package (find_package(wcomp837) gives wcomp837::wcomp837,
# the shared library, and wcomp837::static). The Debian packages are built
# from debian/ with debhelper.
include(CMakePackageConfigHelpers)

set(WCOMP837_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/wcomp837)
install(TARGETS wcomp837_shared wcomp837_static EXPORT wcomp837Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS wcomp837 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/wcomp837 DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/wcomp837/version.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/wcomp837)
if(WCOMP837_HELP2MAN)
  # OPTIONAL: a build of single targets (--target wcomp837) has no manual page.
  install(FILES ${PROJECT_BINARY_DIR}/wcomp837.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 OPTIONAL)
endif()

# The example settings files go to the configuration folder of the prefix,
# where an installed component looks for them (src/platform/folders.cpp):
# PREFIX/etc/wcomp837, or /etc/wcomp837 for /usr.
if(IS_ABSOLUTE "${CMAKE_INSTALL_SYSCONFDIR}")
  set(WCOMP837_SETTINGS_DIR ${CMAKE_INSTALL_SYSCONFDIR}/wcomp837)
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(WCOMP837_SETTINGS_DIR /${CMAKE_INSTALL_SYSCONFDIR}/wcomp837)
else()
  set(WCOMP837_SETTINGS_DIR ${CMAKE_INSTALL_SYSCONFDIR}/wcomp837)
endif()
install(FILES examples/settings/QBEX_ALT_PRACTICENAME.DAT examples/settings/QBEX_CFG_NPICMS.DAT
        DESTINATION ${WCOMP837_SETTINGS_DIR})

install(EXPORT wcomp837Targets NAMESPACE wcomp837:: FILE wcomp837Targets.cmake
        DESTINATION ${WCOMP837_CMAKE_DIR})
configure_package_config_file(cmake/wcomp837Config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/wcomp837Config.cmake INSTALL_DESTINATION ${WCOMP837_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/wcomp837ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/wcomp837Config.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/wcomp837ConfigVersion.cmake
        DESTINATION ${WCOMP837_CMAKE_DIR})

# The pkg-config file finds its prefix from its own place, so the installed
# tree can be moved (and installed with --prefix).
file(RELATIVE_PATH WCOMP837_PC_UP "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" WCOMP837_PC_UP "${WCOMP837_PC_UP}")
configure_file(cmake/wcomp837.pc.in ${CMAKE_CURRENT_BINARY_DIR}/wcomp837.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/wcomp837.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
