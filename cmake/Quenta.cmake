# Shared build settings and helpers for every folder.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(QUENTA_WINDOWS ON)
else()
  set(QUENTA_WINDOWS OFF)
endif()

option(QUENTA_FUZZ_REPLAY "Build the fuzz targets with a replay main and test their kept inputs" OFF)

# Warnings for our own code only (third-party code is built through its own targets).
set(QUENTA_WARNINGS -Wall -Wextra)

function(quenta_settings target)
  target_compile_options(${target} PRIVATE ${QUENTA_WARNINGS})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  if(QUENTA_WINDOWS)
    target_compile_definitions(${target} PUBLIC WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800
                               NOMINMAX STRICT)
  endif()
endfunction()

# quenta_library(name SOURCES ... [WIN_SOURCES ...] [NATIVE_SOURCES ...] [LIBS ...])
# Portable sources build everywhere; WIN_SOURCES only for Windows (the *_win.cpp adapters);
# NATIVE_SOURCES only for the Linux build.
function(quenta_library name)
  cmake_parse_arguments(Q "" "" "SOURCES;WIN_SOURCES;NATIVE_SOURCES;LIBS" ${ARGN})
  set(srcs ${Q_SOURCES})
  if(QUENTA_WINDOWS)
    list(APPEND srcs ${Q_WIN_SOURCES})
  else()
    list(APPEND srcs ${Q_NATIVE_SOURCES})
  endif()
  add_library(${name} STATIC ${srcs})
  quenta_settings(${name})
  target_link_libraries(${name} PUBLIC ${Q_LIBS})
endfunction()

# quenta_module_library(name ...): like quenta_library, for the Windows code of a tool module
# (its view and dialogs); quenta.exe links every such library.
function(quenta_module_library name)
  quenta_library(${name} ${ARGN})
  set_property(GLOBAL APPEND PROPERTY QUENTA_MODULE_LIBRARIES ${name})
endfunction()

# quenta_test(name SOURCES ... [LIBS ...] [WINDOWS_ONLY] [NATIVE_ONLY] [GUI] [LABELS ...] [TIMEOUT s])
# A GoogleTest program registered with CTest. In the Windows build CTest runs it under Wine
# through CMAKE_CROSSCOMPILING_EMULATOR (tools/wine-run.sh).
# Tests run in parallel (ctest -j). A GUI test shows windows on the session's one display (and
# may capture the screen or use the clipboard and focus), so GUI tests hold the display lock
# and run one at a time; they carry the label gui and time out after 90 s unless told.
function(quenta_test name)
  cmake_parse_arguments(Q "WINDOWS_ONLY;NATIVE_ONLY;GUI" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(QUENTA_FUZZ)
    return()
  endif()
  if(Q_WINDOWS_ONLY AND NOT QUENTA_WINDOWS)
    return()
  endif()
  if(Q_NATIVE_ONLY AND QUENTA_WINDOWS)
    return()
  endif()
  add_executable(${name} ${Q_SOURCES})
  quenta_settings(${name})
  target_link_libraries(${name} PRIVATE ${Q_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE QUENTA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                             QUENTA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(QUENTA_WINDOWS)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set(labels ${Q_LABELS})
  if(Q_GUI)
    list(APPEND labels gui)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK quenta_display)
    if(NOT Q_TIMEOUT)
      set(Q_TIMEOUT 90)
    endif()
  endif()
  if(NOT Q_TIMEOUT)
    set(Q_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${Q_TIMEOUT} LABELS "${labels}")
endfunction()

# quenta_e2e_test(name SOURCES ... [LIBS ...] [TIMEOUT s]): an end-to-end test that drives the
# built quenta.exe under Wine (Windows build only) through tests/e2e/support/quenta_e2e_win.h.
# Labels e2e and gui; one at a time; 90 s unless told.
function(quenta_e2e_test name)
  cmake_parse_arguments(Q "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT QUENTA_WINDOWS OR QUENTA_FUZZ OR NOT EXISTS ${CMAKE_SOURCE_DIR}/app/winmain_win.cpp)
    return()
  endif()
  set(timeout)
  if(Q_TIMEOUT)
    set(timeout TIMEOUT ${Q_TIMEOUT})
  endif()
  quenta_test(${name} SOURCES ${Q_SOURCES} LIBS ${Q_LIBS} comctl32 gdi32 user32 advapi32
              WINDOWS_ONLY GUI LABELS e2e ${timeout})
  add_dependencies(${name} quenta)
endfunction()

# quenta_missing_reference(name WHAT): stands in for a test whose reference (a library found
# at configure time) this machine lacks. It skips on a developer's machine and fails under
# CI=true, so a missing reference never quietly removes a test. Configure again after
# installing it (the Makefile does so when the installed packages change).
function(quenta_missing_reference name what)
  if(QUENTA_FUZZ OR QUENTA_WINDOWS)
    return()
  endif()
  add_test(NAME ${name}
           COMMAND sh -c "echo '${name}: ${what} is missing: run tools/install-deps.sh and configure again'; test x$CI = xtrue && exit 1; exit 77")
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()

# quenta_fuzz(name SOURCES ... LIBS ...): a fuzz target named fuzz_X, with its seeds in fuzz/corpus/X
# and the inputs that once crashed it in fuzz/crashers/X. In the fuzz configuration (clang) it
# is a libFuzzer program (tools/run-fuzzers.sh runs it); with QUENTA_FUZZ_REPLAY (the sanitizer
# build) it links a replay main and CTest feeds it every seed and kept crasher once.
function(quenta_fuzz name)
  cmake_parse_arguments(Q "" "" "SOURCES;LIBS" ${ARGN})
  if(QUENTA_FUZZ)
    add_executable(${name} ${Q_SOURCES})
    quenta_settings(${name})
    target_link_libraries(${name} PRIVATE ${Q_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  elseif(QUENTA_FUZZ_REPLAY AND NOT QUENTA_WINDOWS)
    add_executable(${name} ${Q_SOURCES} ${CMAKE_SOURCE_DIR}/fuzz/replay/replay_main.cpp)
    quenta_settings(${name})
    target_link_libraries(${name} PRIVATE ${Q_LIBS})
    string(REGEX REPLACE "^fuzz_" "" stem ${name})
    add_test(NAME ${name}_replay COMMAND ${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${stem}
                                              ${CMAKE_SOURCE_DIR}/fuzz/crashers/${stem})
    # libFuzzer runs with -rss_limit_mb=2048 (tools/run-fuzzers.sh), which also caps a single
    # allocation; the replay caps it alike, so that an out-of-memory crasher fails here too.
    set_tests_properties(${name}_replay PROPERTIES LABELS fuzz TIMEOUT 120
                         ENVIRONMENT "ASAN_OPTIONS=max_allocation_size_mb=2048")
  endif()
endfunction()

# quenta_bench(name SOURCES ... LIBS ...): a Google Benchmark program, native build only.
function(quenta_bench name)
  cmake_parse_arguments(Q "" "" "SOURCES;LIBS" ${ARGN})
  if(QUENTA_WINDOWS OR QUENTA_FUZZ OR NOT QUENTA_BENCH)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${Q_SOURCES})
  quenta_settings(${name})
  target_link_libraries(${name} PRIVATE ${Q_LIBS} benchmark::benchmark)
  target_compile_definitions(${name} PRIVATE QUENTA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endfunction()
