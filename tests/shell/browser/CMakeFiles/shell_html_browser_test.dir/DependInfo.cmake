
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/main/tests/shell/browser/html_browser_test.cpp" "tests/shell/browser/CMakeFiles/shell_html_browser_test.dir/html_browser_test.cpp.o" "gcc" "tests/shell/browser/CMakeFiles/shell_html_browser_test.dir/html_browser_test.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  "/work/main/shell/CMakeFiles/quenta_shellcore.dir/DependInfo.cmake"
  "/work/main/googletest/googletest/CMakeFiles/gtest_main.dir/DependInfo.cmake"
  "/work/main/googletest/googlemock/CMakeFiles/gmock.dir/DependInfo.cmake"
  "/work/main/app/CMakeFiles/quenta_appcore.dir/DependInfo.cmake"
  "/work/main/res/CMakeFiles/quenta_texts.dir/DependInfo.cmake"
  "/work/main/googletest/googletest/CMakeFiles/gtest.dir/DependInfo.cmake"
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
