# Writes OUTPUT, a C++ source that defines sim::demoFlows() with the text of each flow
# file in FILES (a "|"-separated list of paths relative to ROOT), in the order given.
# Run as: cmake -DROOT=... -DFILES=a.yaml|b.yaml -DOUTPUT=... -P EmbedFlows.cmake
set(delimiter "lexorna-flow")
string(REPLACE "|" ";" files "${FILES}")
list(LENGTH files count)

set(entries "")
foreach(file IN LISTS files)
  file(READ "${ROOT}/${file}" text)
  string(FIND "${text}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} contains )${delimiter}\", which ends the raw string it is embedded in")
  endif()
  string(APPEND entries "    {\"${file}\",\n     R\"${delimiter}(${text})${delimiter}\"},\n")
endforeach()

set(source "// Made by sim/EmbedFlows.cmake from the demo's flow files at build time; edit those.\n")
string(APPEND source "#include \"sim/cli/DemoFlows.h\"\n\n#include <array>\n\nnamespace sim {\n\n")
string(APPEND source "namespace {\n\nconstexpr std::array<EmbeddedFlow, ${count}> Flows{{\n${entries}}};\n\n")
string(APPEND source "} // namespace\n\nstd::span<const EmbeddedFlow> demoFlows() {\n    return Flows;\n}\n\n")
string(APPEND source "} // namespace sim\n")
file(WRITE "${OUTPUT}" "${source}")
