# Shared build settings and helpers for every folder.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(QUENTA_WINDOWS ON)
else()
  set(QUENTA_WINDOWS OFF)
endif()

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

# quenta_test(name SOURCES ... [LIBS ...] [WINDOWS_ONLY] [NATIVE_ONLY] [LABELS ...] [TIMEOUT s])
# A GoogleTest program registered with CTest. In the Windows build CTest runs it under Wine
# through CMAKE_CROSSCOMPILING_EMULATOR (tools/wine-run.sh).
function(quenta_test name)
  cmake_parse_arguments(Q "WINDOWS_ONLY;NATIVE_ONLY" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
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
  if(NOT Q_TIMEOUT)
    set(Q_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${Q_TIMEOUT} LABELS "${Q_LABELS}")
endfunction()

# quenta_fuzz(name SOURCES ... LIBS ...): a libFuzzer target, only in the fuzz configuration.
function(quenta_fuzz name)
  cmake_parse_arguments(Q "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT QUENTA_FUZZ)
    return()
  endif()
  add_executable(${name} ${Q_SOURCES})
  quenta_settings(${name})
  target_link_libraries(${name} PRIVATE ${Q_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
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
