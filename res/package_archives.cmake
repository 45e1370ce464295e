# The package archives that quenta.exe carries as "ZIP" resources (see quenta.rc): each source
# folder below res/ is packed as a ZIP archive at build time and delta-coded, as the program's
# archive reader expects. The archives are built in both configurations; the native tests open
# them from disk.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(QUENTA_PACKAGE_DIR ${CMAKE_BINARY_DIR}/res/package CACHE INTERNAL "Folder of the packed archives")
set(QUENTA_PACKAGE_ARCHIVES "" CACHE INTERNAL "The packed archives")

# quenta_package_archive(<name> <source folder>): ${QUENTA_PACKAGE_DIR}/<name>.zip (plain, for
# tests and tools) and <name>.zipd (delta-coded, for the resource compiler). Members are the
# folder's files with "/"-separated relative names, in sorted order, with a fixed date, so the
# archive does not change unless a file does.
function(quenta_package_archive name folder)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false RELATIVE ${folder} ${folder}/*)
  list(SORT files)
  set(members "")
  set(depends "")
  foreach(file ${files})
    list(APPEND members ${file})
    list(APPEND depends ${folder}/${file})
  endforeach()
  set(plain ${QUENTA_PACKAGE_DIR}/${name}.zip)
  set(coded ${QUENTA_PACKAGE_DIR}/${name}.zipd)
  add_custom_command(OUTPUT ${plain} ${coded}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUENTA_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${plain}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${plain} --format=zip "--mtime=2026-01-01 00:00:00" -- ${members}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/res/delta_code.py ${plain} ${coded}
    WORKING_DIRECTORY ${folder}
    DEPENDS ${depends} ${CMAKE_SOURCE_DIR}/res/delta_code.py
    COMMENT "Packing ${name} archive"
    VERBATIM)
  set(QUENTA_PACKAGE_ARCHIVES ${QUENTA_PACKAGE_ARCHIVES} ${plain} ${coded} CACHE INTERNAL "")
endfunction()

set(QUENTA_PACKAGE_ARCHIVES "" CACHE INTERNAL "")
quenta_package_archive(help_files ${CMAKE_SOURCE_DIR}/res/help/files)  # 365: the "help" folder
quenta_package_archive(help_en ${CMAKE_SOURCE_DIR}/res/help/local/en)  # 366: "help\local", English
quenta_package_archive(help_fr ${CMAKE_SOURCE_DIR}/res/help/local/fr)  # 367: "help\local", French
quenta_package_archive(panel ${CMAKE_SOURCE_DIR}/res/panel)            # 380: the online panel
add_custom_target(quenta_package_archives ALL DEPENDS ${QUENTA_PACKAGE_ARCHIVES})
