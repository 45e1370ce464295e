# CMake generated Testfile for 
# Source directory: /work/main/tests/shell/browser
# Build directory: /work/main/tests/shell/browser
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
add_test([=[shell_html_browser_test]=] "/work/main/bin/shell_html_browser_test" "--gtest_brief=1")
set_tests_properties([=[shell_html_browser_test]=] PROPERTIES  LABELS "" TIMEOUT "120" _BACKTRACE_TRIPLES "/work/main/cmake/Quenta.cmake;59;add_test;/work/main/tests/shell/browser/CMakeLists.txt;2;quenta_test;/work/main/tests/shell/browser/CMakeLists.txt;0;")
