# Turns the STRINGTABLE blocks of two .rc files (English and French) into a C++ source defining
# a TextTables constant (base/text_table.h), so the native build has the very texts of the
# Windows resources. Run as a script:
#   cmake -DHEADER=resource.h -DENGLISH=strings_en.rc -DFRENCH=strings_fr.rc
#         -DNAME=kQuentaTexts -DOUTPUT=texts.cpp -P make_text_table.cmake
# Ids are numbers or names #defined in HEADER. Sources are UTF-8; the texts are stored in
# Windows-1252, as Windows hands them to the program; a character outside it fails the build.
cmake_minimum_required(VERSION 3.20)

foreach(var HEADER ENGLISH FRENCH NAME OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make_text_table: ${var} is not set")
  endif()
endforeach()

# Id names from the header.
file(STRINGS "${HEADER}" defines REGEX "^#define[ \t]+[A-Za-z_][A-Za-z_0-9]*[ \t]+[0-9]+")
foreach(line IN LISTS defines)
  string(REGEX MATCH "^#define[ \t]+([A-Za-z_][A-Za-z_0-9]*)[ \t]+([0-9]+)" _ "${line}")
  set("id_${CMAKE_MATCH_1}" "${CMAKE_MATCH_2}")
endforeach()

# UTF-8 characters that Windows-1252 holds beyond ASCII and their bytes there. Each escape ends
# its literal ("\xe9" "") so that a following letter is not read as more hex digits.
set(cp1252_chars
  "À:c0" "Â:c2" "Ä:c4" "Æ:c6" "Ç:c7" "È:c8" "É:c9" "Ê:ca" "Ë:cb" "Î:ce" "Ï:cf" "Ô:d4" "Ö:d6"
  "Ù:d9" "Û:db" "Ü:dc" "à:e0" "â:e2" "ä:e4" "æ:e6" "ç:e7" "è:e8" "é:e9" "ê:ea" "ë:eb" "î:ee"
  "ï:ef" "ô:f4" "ö:f6" "ù:f9" "û:fb" "ü:fc" "ÿ:ff" "Œ:8c" "œ:9c" "Ÿ:9f" "«:ab" "»:bb" "©:a9"
  "®:ae" "°:b0" "±:b1" "×:d7" "µ:b5" "€:80" "…:85" "‘:91" "’:92" "“:93" "”:94" "–:96" "—:97")

# Stands for ";" while a file's lines are handled as a CMake list.
string(ASCII 1 semicolon)

# One .rc text (between its quotes) as the inside of a C++ string literal.
function(to_cpp_literal text out)
  string(REPLACE "\"\"" "\\\"" text "${text}")
  foreach(pair IN LISTS cp1252_chars)
    string(REGEX MATCH "^(.+):(..)$" _ "${pair}")
    string(REPLACE "${CMAKE_MATCH_1}" "\\x${CMAKE_MATCH_2}\"\"" text "${text}")
  endforeach()
  # List separators and brackets would disturb CMake's lists: escape them too.
  string(REPLACE "[" "\\x5b\"\"" text "${text}")
  string(REPLACE "]" "\\x5d\"\"" text "${text}")
  string(REPLACE "${semicolon}" "\\x3b\"\"" text "${text}")
  string(HEX "${text}" hex)
  if(NOT hex MATCHES "^([0-7][0-9a-f])*$")
    message(FATAL_ERROR "make_text_table: a text holds a character outside Windows-1252: ${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Entries "00062449|literal" of one file's STRINGTABLE blocks, sorted by id.
function(read_string_tables rc out)
  file(READ "${rc}" content)
  string(REPLACE ";" "${semicolon}" content "${content}")
  string(REPLACE "\r" "" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(entries)
  set(seen)
  set(state outside)
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^//")
      continue()
    endif()
    if(state STREQUAL "outside")
      if(line MATCHES "^STRINGTABLE")
        set(state header)
      endif()
    elseif(state STREQUAL "header")
      if(line MATCHES "^(BEGIN|{)$")
        set(state inside)
      endif()
    elseif(line MATCHES "^(END|})$")
      set(state outside)
    elseif(line MATCHES "^([A-Za-z_0-9]+)[ \t]*,?[ \t]*\"(.*)\"$")
      set(key "${CMAKE_MATCH_1}")
      set(text "${CMAKE_MATCH_2}")
      if(key MATCHES "^[0-9]+$")
        set(id "${key}")
      elseif(DEFINED "id_${key}")
        set(id "${id_${key}}")
      else()
        message(FATAL_ERROR "make_text_table: ${rc}: unknown id ${key}")
      endif()
      if(id GREATER 65535)
        message(FATAL_ERROR "make_text_table: ${rc}: id ${id} is out of range")
      endif()
      if(id IN_LIST seen)
        message(FATAL_ERROR "make_text_table: ${rc}: id ${id} appears twice")
      endif()
      list(APPEND seen "${id}")
      to_cpp_literal("${text}" literal)
      string(LENGTH "${id}" digits)
      math(EXPR pad "8 - ${digits}")
      string(REPEAT "0" ${pad} zeros)
      list(APPEND entries "${zeros}${id}|${literal}")
    else()
      message(FATAL_ERROR "make_text_table: ${rc}: cannot read the line: ${line}")
    endif()
  endforeach()
  list(SORT entries)
  set(${out} "${entries}" PARENT_SCOPE)
endfunction()

function(emit_array entries array out)
  set(code "constexpr TextEntry ${array}[] = {\n")
  foreach(entry IN LISTS entries)
    string(REGEX MATCH "^0*([0-9]+)\\|(.*)$" _ "${entry}")
    string(APPEND code "    {${CMAKE_MATCH_1}, \"${CMAKE_MATCH_2}\"},\n")
  endforeach()
  string(APPEND code "};\n")
  set(${out} "${code}" PARENT_SCOPE)
endfunction()

read_string_tables("${ENGLISH}" english)
read_string_tables("${FRENCH}" french)
emit_array("${english}" kEnglish english_code)
emit_array("${french}" kFrench french_code)
get_filename_component(english_name "${ENGLISH}" NAME)
get_filename_component(french_name "${FRENCH}" NAME)

set(code "// Generated from ${english_name} and ${french_name} by make_text_table.cmake: do not edit.
#include \"base/text_table.h\"

namespace {
${english_code}
${french_code}}  // namespace

extern const TextTables ${NAME};
const TextTables ${NAME} = {kEnglish, kFrench};
")
# Rewrite only on change so that an unchanged table does not rebuild its users.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL code)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${code}")
