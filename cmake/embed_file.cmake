# Writes a C++ source that defines a std::string_view over a file's bytes.
# cmake -DINPUT=<file> -DOUTPUT=<cpp> -DSYMBOL=<name> -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_len)
math(EXPR size "${hex_len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <string_view>\n"
  "namespace pelvrin {\n"
  "namespace { const char ${SYMBOL}_bytes[${size} + 1] = {${bytes} 0}; }\n"
  "extern const std::string_view ${SYMBOL}{${SYMBOL}_bytes, ${size}};\n"
  "}\n")
