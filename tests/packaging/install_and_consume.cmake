# cmake -P script run by CTest: install into a temporary prefix, run the
# installed command line on the example batch (it must find the installed
# settings files), check what the shared library exports, then build and run
# the consumers: CMake and pkg-config, shared and static. Any failing step
# stops the script with an error.
# With -DINSTALLED_PREFIX=/usr it checks what the Debian packages installed
# instead of installing (CI).
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(LAST_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

function(expect_version what)
  if(NOT LAST_OUTPUT STREQUAL "1306.4.1\n")
    message(FATAL_ERROR "${what} printed: ${LAST_OUTPUT}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/out)
if(INSTALLED_PREFIX)
  set(prefix ${INSTALLED_PREFIX})
else()
  set(prefix ${WORK_DIR}/prefix)
  run(${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${prefix})
endif()
set(etc ${prefix}/etc)
if(prefix STREQUAL "/usr")
  set(etc /etc)
endif()
foreach(f ${prefix}/bin/wcomp837 ${prefix}/include/wcomp837/wcomp837.h
          ${prefix}/include/wcomp837/format_class.h ${prefix}/include/wcomp837/version.h
          ${prefix}/${LIBDIR}/libwcomp837.a ${prefix}/${LIBDIR}/pkgconfig/wcomp837.pc
          ${prefix}/${LIBDIR}/cmake/wcomp837/wcomp837Config.cmake
          ${etc}/wcomp837/QBEX_ALT_PRACTICENAME.DAT ${etc}/wcomp837/QBEX_CFG_NPICMS.DAT)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
run(${prefix}/bin/wcomp837 --version)
expect_version("installed wcomp837 --version")
# The example batch runs clean only when the settings files are found.
run(${prefix}/bin/wcomp837 --quiet --output-dir ${WORK_DIR}/out --claim-file c.837
    ${SOURCE_DIR}/examples/batch.txt)

# Only the public classes and the C functions leave the shared library.
run(nm -D -C --defined-only ${prefix}/${LIBDIR}/libwcomp837.so)
string(REPLACE "\n" ";" symbols "${LAST_OUTPUT}")
# The standard library's template instances (weak, and not inlined in a
# Debug build) are shared by design, and a sanitizer build adds its own.
set(public "^((void|typeinfo for|typeinfo name for|vtable for|(unsigned |signed )?(long long|long|int|short|char|bool|double|float|unsigned)) )?(wcomp837::(Format_Class|InsInfo|InsInfoArray|NDCInfo|NDCInfoArray|CCFormInfo|CCFormInfoArray|Currency|Failure)(::|$)|wcomp837_[a-z_]+$|std::|__gnu_cxx::|__(odr_)?(asan|ubsan|sanitizer))")
foreach(line IN LISTS symbols)
  string(REGEX REPLACE "^[0-9a-f]* *[A-Za-z] " "" symbol "${line}")
  if(symbol AND NOT symbol MATCHES "${public}")
    message(FATAL_ERROR "the shared library exports an internal symbol: ${symbol}")
  endif()
endforeach()

foreach(kind shared static)
  set(link_static OFF)
  if(kind STREQUAL "static")
    set(link_static ON)
  endif()
  # find_package consumer (C++ class and C interface).
  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/cmake-${kind} -G ${GENERATOR}
      -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_C_COMPILER=${CC}
      -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_FLAGS=${FLAGS} -DCMAKE_C_FLAGS=${FLAGS}
      -DCMAKE_EXE_LINKER_FLAGS=${FLAGS} -DCONSUMER_STATIC=${link_static})
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-${kind})
  run(${WORK_DIR}/cmake-${kind}/consumer)
  expect_version("the find_package consumer (${kind})")
endforeach()

# pkg-config consumers (plain C), shared and static.
if(PKG_CONFIG)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
  separate_arguments(extra UNIX_COMMAND "${FLAGS}")
  run(${PKG_CONFIG} --cflags --libs wcomp837)
  separate_arguments(pc_flags UNIX_COMMAND "${LAST_OUTPUT}")
  run(${CC} ${extra} -o ${WORK_DIR}/pc_shared ${CONSUMER_DIR}/consumer_c.c ${pc_flags}
      -Wl,-rpath,${prefix}/${LIBDIR})
  run(${WORK_DIR}/pc_shared)
  expect_version("the pkg-config consumer (shared)")
  # The static library in place of -lwcomp837, then what it needs.
  run(${PKG_CONFIG} --cflags wcomp837)
  separate_arguments(pc_cflags UNIX_COMMAND "${LAST_OUTPUT}")
  run(${PKG_CONFIG} --static --libs-only-l wcomp837)
  string(REPLACE "-lwcomp837" "" pc_static_libs "${LAST_OUTPUT}")
  separate_arguments(pc_static_libs UNIX_COMMAND "${pc_static_libs}")
  run(${CC} ${extra} -o ${WORK_DIR}/pc_static ${CONSUMER_DIR}/consumer_c.c ${pc_cflags}
      ${prefix}/${LIBDIR}/libwcomp837.a ${pc_static_libs})
  run(${WORK_DIR}/pc_static)
  expect_version("the pkg-config consumer (static)")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
