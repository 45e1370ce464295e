file(REMOVE_RECURSE
  "../../../bin/shell_html_browser_test"
  "../../../bin/shell_html_browser_test.pdb"
  "CMakeFiles/shell_html_browser_test.dir/html_browser_test.cpp.o"
  "CMakeFiles/shell_html_browser_test.dir/html_browser_test.cpp.o.d"
)

# Per-language clean rules from dependency scanning.
foreach(lang CXX)
  include(CMakeFiles/shell_html_browser_test.dir/cmake_clean_${lang}.cmake OPTIONAL)
endforeach()
