# Common compile settings and the test registration helper.

function(wexal_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  # Every conversion between bytes and text must say its encoding.
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING QT_USE_QSTRINGBUILDER)
endfunction()

# wexal_add_test(NAME SOURCES src... [LIBS lib...] [STAGE stage])
# Builds one Qt Test executable and registers it with CTest, headless.
# A test with a STAGE is left out of a plain ctest run; the stage runs
# on its own with `ctest -C <stage> -L <stage>`.
function(wexal_add_test name)
  cmake_parse_arguments(ARG "" "STAGE" "SOURCES;LIBS" ${ARGN})
  if(WEXAL_SKIP_INCOMPLETE_TESTS)
    # Developer convenience while a test is being written elsewhere in the tree.
    foreach(src IN LISTS ARG_SOURCES)
      if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${src})
        message(WARNING "Skipping ${name}: ${src} does not exist yet")
        return()
      endif()
    endforeach()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  wexal_set_warnings(${name})
  target_compile_definitions(${name} PRIVATE
    WEXAL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    WEXAL_SAMPLE_DIR="${CMAKE_SOURCE_DIR}/sample"
    WEXAL_SHARED_DIR="${CMAKE_SOURCE_DIR}/../shared")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_STAGE)
    add_test(NAME ${name} CONFIGURATIONS ${ARG_STAGE} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_STAGE})
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  # The per-user settings of each test live in a directory of its own in the
  # build tree, never in the user's: the program remembers choices there.
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/tests/config/${name}"
    TIMEOUT 600)
endfunction()
