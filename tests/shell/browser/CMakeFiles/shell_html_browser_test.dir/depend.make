# Empty dependencies file for shell_html_browser_test.
# This may be replaced when dependencies are built.
