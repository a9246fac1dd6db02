# cmake -P script run by CTest: install, then configure, build and run the
# consumers. Any failing step stops the script with an error.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(LAST_OUTPUT "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

run(${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${prefix})
foreach(f bin/wcomp837 include/wcomp837/wcomp837.h include/wcomp837/format_class.h
          ${LIBDIR}/libwcomp837.a ${LIBDIR}/pkgconfig/wcomp837.pc
          ${LIBDIR}/cmake/wcomp837/wcomp837Config.cmake)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
run(${prefix}/bin/wcomp837 --version)
if(NOT LAST_OUTPUT STREQUAL "1306.4.1\n")
  message(FATAL_ERROR "installed wcomp837 --version printed: ${LAST_OUTPUT}")
endif()

# find_package consumer (C++ class and C interface through wcomp837::wcomp837).
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/cmake-build -G ${GENERATOR}
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_C_COMPILER=${CC}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_FLAGS=${FLAGS} -DCMAKE_C_FLAGS=${FLAGS}
    -DCMAKE_EXE_LINKER_FLAGS=${FLAGS})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
run(${WORK_DIR}/cmake-build/consumer)
if(NOT LAST_OUTPUT STREQUAL "1306.4.1\n")
  message(FATAL_ERROR "the find_package consumer printed: ${LAST_OUTPUT}")
endif()

# pkg-config consumer (plain C).
if(PKG_CONFIG)
  set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
  run(${PKG_CONFIG} --cflags --libs wcomp837)
  string(STRIP "${LAST_OUTPUT}" pc_flags)
  separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
  separate_arguments(extra UNIX_COMMAND "${FLAGS}")
  run(${CC} ${extra} -o ${WORK_DIR}/pc_consumer ${CONSUMER_DIR}/consumer_c.c ${pc_flags}
      -Wl,-rpath,${prefix}/${LIBDIR})
  run(${WORK_DIR}/pc_consumer)
  if(NOT LAST_OUTPUT STREQUAL "1306.4.1\n")
    message(FATAL_ERROR "the pkg-config consumer printed: ${LAST_OUTPUT}")
  endif()
endif()
file(REMOVE_RECURSE ${WORK_DIR})
