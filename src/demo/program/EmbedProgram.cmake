# Turns the linked room viewer into a C++ source: the code bytes (bank 0 from
# $8000), the six vector bytes and the addresses of the exported labels.
# usage: cmake -DCODE=viewer.bin -DVECTORS=viewer.bin.vectors
#              -DLABELS=viewer.labels -DOUTPUT=DemoProgramBytes.cpp -P EmbedProgram.cmake

function(bytes_of file out_var count_var)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR count "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," listed "${hex}")
  # Sixteen bytes a line.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " listed "${listed}")
  set(${out_var} "${listed}" PARENT_SCOPE)
  set(${count_var} ${count} PARENT_SCOPE)
endfunction()

function(label_of name out_var)
  file(STRINGS "${LABELS}" lines REGEX " \\.${name}$")
  list(LENGTH lines found)
  if(NOT found EQUAL 1)
    message(FATAL_ERROR "label ${name} not found once in ${LABELS}")
  endif()
  string(REGEX MATCH "al ([0-9A-Fa-f]+) " match "${lines}")
  set(${out_var} "0x${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

bytes_of("${CODE}" code code_size)
bytes_of("${VECTORS}" vectors vectors_size)
if(NOT vectors_size EQUAL 6)
  message(FATAL_ERROR "${VECTORS} holds ${vectors_size} bytes, not 6")
endif()
label_of(zone_facts facts)
label_of(viewer_reset reset)
label_of(viewer_nmi nmi)
label_of(viewer_irq irq)

file(WRITE "${OUTPUT}.new" "// Made by EmbedProgram.cmake from the linked room viewer; do not edit.
#include \"demo/DemoProgram.h\"

namespace {
const std::uint8_t Code[${code_size}] = {
    ${code}
};
const std::uint8_t Vectors[6] = {${vectors}};
} // namespace

namespace demo {

const ViewerProgram& Viewer()
{
    static const ViewerProgram program{Code, Vectors, ${facts}, ${reset}, ${nmi}, ${irq}};
    return program;
}

} // namespace demo
")
# Rewrite only when something changed, so that nothing rebuilds needlessly.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
