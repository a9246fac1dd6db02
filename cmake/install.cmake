# Installation: libraries, public headers, the command line, a pkg-config
# file and a CMake package (find_package(wcomp837) gives wcomp837::wcomp837,
# the shared library, and wcomp837::static); CPack builds a Debian package.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(WCOMP837_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/wcomp837)
install(TARGETS wcomp837_shared wcomp837_static EXPORT wcomp837Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS wcomp837 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/wcomp837 DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wcomp837)
set(CPACK_PACKAGE_VENDOR "wcomp837 maintainers")
set(CPACK_PACKAGE_CONTACT "wcomp837 maintainers <wcomp837@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Claim-format component writing ANSI X12 837 Professional claims for workers' compensation")
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
include(CPack)
