# Precompiled Qt headers, one file shared by many targets (the test build: Qt's headers are
# most of each compile). GCC takes a shared header only where every macro it tests is defined
# alike: Qt's module headers test no QT_*_LIB macro, QtTest tests the GUI, WIDGETS and NETWORK
# ones and the test-case paths, so a test is made alike for those (zrk_pch_use). A macro the
# header was made with must be defined for each user too: a header for libraries that do not
# all link a module takes the module's include folders only (MODULES), not its QT_*_LIB.
function(zrk_pch_target name)
  cmake_parse_arguments(P "" "" "HEADERS;LIBS;MODULES;OPTIONS" ${ARGN})
  set(stub ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
  if(NOT EXISTS ${stub})
    file(WRITE ${stub} "")
  endif()
  add_library(${name} OBJECT ${stub})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF)
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  foreach(m IN LISTS P_MODULES)
    target_include_directories(${name} SYSTEM PRIVATE
                               $<TARGET_PROPERTY:${m},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
  target_compile_options(${name} PRIVATE ${P_OPTIONS})
  target_precompile_headers(${name} PRIVATE ${P_HEADERS})
endfunction()

function(zrk_pch_use target pch)
  cmake_parse_arguments(P "" "" "LIBS;OPTIONS" ${ARGN})
  target_link_libraries(${target} PRIVATE ${P_LIBS})
  target_compile_options(${target} PRIVATE ${P_OPTIONS})
  target_precompile_headers(${target} REUSE_FROM ${pch})
endfunction()
