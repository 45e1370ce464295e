# Fails when a lower layer includes from a higher one. Run as a script:
#   cmake -DROOT=<project root> -P check_layers.cmake
# base/ is below everything; the picture library (picture/, picture/codecs/) and the colour
# tools (picturetools/core/) are below the application layer, the framework and the shell.
cmake_minimum_required(VERSION 3.20)

if(NOT DEFINED ROOT)
  message(FATAL_ERROR "check_layers: ROOT is not set")
endif()

# folder: include prefixes it must not use
set(rules
  "base:app/,shell/,framework/,picture/,picturetools/"
  "picture:app/,shell/,framework/,picturetools/translator/,picturetools/convert/"
  "picturetools/core:app/,shell/,framework/,picturetools/translator/,picturetools/convert/")

set(problems)
set(checked 0)
foreach(rule IN LISTS rules)
  string(REPLACE ":" ";" parts "${rule}")
  string(REPLACE "," ";" parts "${parts}")
  list(GET parts 0 folder)
  list(SUBLIST parts 1 -1 forbidden)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  if(NOT sources)
    list(APPEND problems "${folder}: no sources found")
  endif()
  foreach(source IN LISTS sources)
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
      foreach(prefix IN LISTS forbidden)
        string(FIND "${header}" "${prefix}" at)
        if(at EQUAL 0)
          file(RELATIVE_PATH relative "${ROOT}" "${source}")
          list(APPEND problems "${relative} includes ${header}, above its layer")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(problems)
  string(REPLACE ";" "\n" text "${problems}")
  message(FATAL_ERROR "${text}")
endif()
message(STATUS "${checked} sources keep to their layers")
