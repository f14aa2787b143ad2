# Turns the generator's picture files into a C++ source of byte arrays.
# Run as: cmake -DMANIFEST=<folder>/pictures.txt -DOUTPUT=<file>.cpp -P embed_pictures.cmake
# Each manifest line is "<name> <file>", the file relative to the manifest's folder.
if(NOT MANIFEST OR NOT OUTPUT)
  message(FATAL_ERROR "embed_pictures.cmake needs -DMANIFEST=... and -DOUTPUT=...")
endif()
get_filename_component(folder "${MANIFEST}" DIRECTORY)
file(STRINGS "${MANIFEST}" lines)
if(NOT lines)
  message(FATAL_ERROR "embed_pictures.cmake: ${MANIFEST} lists no pictures")
endif()

string(REPEAT "[0-9a-f]" 40 twenty_bytes)
set(arrays "")
set(entries "")
set(index 0)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([a-z0-9_]+) ([A-Za-z0-9_.]+)$")
    message(FATAL_ERROR "embed_pictures.cmake: bad manifest line '${line}'")
  endif()
  set(name "${CMAKE_MATCH_1}")
  set(fname "${CMAKE_MATCH_2}")
  set(file "${folder}/${fname}")
  file(SIZE "${file}" size)
  if(size EQUAL 0)
    message(FATAL_ERROR "embed_pictures.cmake: ${file} is empty")
  endif()
  file(READ "${file}" hex HEX)
  # Twenty bytes a line keeps the generated source readable.
  string(REGEX REPLACE "(${twenty_bytes})" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(APPEND arrays "// ${fname}\nconst unsigned char picture${index}[${size}] = {\n${hex}\n};\n\n")
  string(APPEND entries "    {\"${name}\", picture${index}, sizeof picture${index}},\n")
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}.tmp"
"// Generated at build time from the painted picture files; edit the generator, not this file.
#include \"resources/embedded_pictures.h\"

namespace xp::detail {

namespace {

${arrays}}  // namespace

const EmbeddedPicture embeddedPictures[] = {
${entries}};
const std::size_t embeddedPictureCount = ${index};

}  // namespace xp::detail
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
