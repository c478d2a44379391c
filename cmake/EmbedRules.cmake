# Embedding of the rule files into the programs (see rules/CMakeLists.txt).
#
# Included by the project, this file defines
#   gleaner_embed_rules(<output.cpp> <root> <file>...)
# which adds a build step writing <output.cpp>: the bytes of every <root>/<file>
# as the table of rules/EmbeddedRules.h, served as "/files/<file>". The step
# runs again whenever one of the files changes.
#
# Run as a script (cmake -DROOT=… -DFILES=a|b -DOUTPUT=… -P EmbedRules.cmake),
# it writes that file.

if(CMAKE_SCRIPT_MODE_FILE)
  string(REPLACE "|" ";" files "${FILES}")
  set(arrays "")
  set(entries "")
  set(index 0)
  foreach(file IN LISTS files)
    file(READ "${ROOT}/${file}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    # One byte per 0xNN, twenty to a line; a trailing 0 keeps an empty file's array legal.
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "// ${file}\nconst unsigned char kFile${index}[] = {\n    ${bytes}0};\n\n")
    string(APPEND entries "    {\"/files/${file}\", std::string_view(reinterpret_cast<const char*>(kFile${index}), ${size})},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  set(content "// Generated from rules/files by cmake/EmbedRules.cmake. Do not edit.
#include \"rules/EmbeddedRules.h\"

#include <array>

namespace gleaner {

namespace {

${arrays}const std::array<EmbeddedRuleFile, ${index}> kFiles = {{
${entries}}};

}  // namespace

std::span<const EmbeddedRuleFile> embeddedRuleFiles() { return kFiles; }

std::optional<std::string_view> embeddedRuleFile(std::string_view path) {
  for (const EmbeddedRuleFile& file : kFiles) {
    if (file.path == path) return file.bytes;
  }
  return std::nullopt;
}

}  // namespace gleaner
")
  # Rewrite only on a change, so that an unchanged rule set compiles nothing.
  if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
    if(previous STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE "${OUTPUT}" "${content}")
  return()
endif()

set(GLEANER_EMBED_RULES_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(gleaner_embed_rules output root)
  set(paths "")
  foreach(file IN LISTS ARGN)
    list(APPEND paths ${root}/${file})
  endforeach()
  string(REPLACE ";" "|" files "${ARGN}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DROOT=${root} -DFILES=${files} -DOUTPUT=${output} -P ${GLEANER_EMBED_RULES_SCRIPT}
    DEPENDS ${paths} ${GLEANER_EMBED_RULES_SCRIPT}
    COMMENT "Embedding the rule files"
    VERBATIM)
endfunction()
