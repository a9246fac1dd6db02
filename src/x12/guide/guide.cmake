# The implementation guide becomes C++ tables at build time: generate_tables.py
# reads the guide data (src/x12/guide/data/) and writes guide_tables.cpp into
# the build folder, so the installed component reads no data file.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
include(GNUInstallDirs)

set(WCOMP837_GUIDE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/src/x12/guide)
set(WCOMP837_GUIDE_DATA
    ${WCOMP837_GUIDE_DIR}/data/837.4010.X098.A1.xml
    ${WCOMP837_GUIDE_DIR}/data/dataele.xml
    ${WCOMP837_GUIDE_DIR}/data/codes.xml)
set(WCOMP837_GUIDE_TABLES ${CMAKE_CURRENT_BINARY_DIR}/generated/guide_tables.cpp)
add_custom_command(
  OUTPUT ${WCOMP837_GUIDE_TABLES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/generated
  COMMAND ${Python3_EXECUTABLE} ${WCOMP837_GUIDE_DIR}/generate_tables.py ${WCOMP837_GUIDE_DATA}
          ${WCOMP837_GUIDE_TABLES}
  DEPENDS ${WCOMP837_GUIDE_DIR}/generate_tables.py ${WCOMP837_GUIDE_DATA}
  COMMENT "Generating the implementation guide tables"
  VERBATIM)

# The guide data's licence goes with the documentation.
install(FILES ${WCOMP837_GUIDE_DIR}/data/LICENSE.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/implementation-guide-data)
