# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=Symbol -P EmbedBytes.cmake
# Writes a C++ source that defines `const unsigned char Symbol[]` holding the input file byte for
# byte, and `const std::size_t SymbolSize`, its length.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# A line break every 32 bytes keeps the file readable for tools.
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT} by cmake/EmbedBytes.cmake.\n"
  "#include <cstddef>\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
  "extern const std::size_t ${NAME}Size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
