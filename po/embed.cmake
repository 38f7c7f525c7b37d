# Writes OUTPUT, a C++ source defining kbt2::NAME, a std::string_view of the
# bytes of INPUT: a translation catalogue built into the program, so it needs
# no file at run time.
#
#   cmake -DINPUT=po/es.po -DOUTPUT=es_catalogue.cpp -DNAME=kSpanishCatalogue -P po/embed.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Made by po/embed.cmake from ${INPUT}; not to be edited.\n"
  "#include <string_view>\n\n"
  "namespace kbt2 {\n"
  "namespace {\n"
  "const unsigned char kBytes[] = {\n${bytes}0};\n"
  "}  // namespace\n"
  "extern const std::string_view ${NAME};\n"
  "const std::string_view ${NAME}(reinterpret_cast<const char*>(kBytes), sizeof kBytes - 1);\n"
  "}  // namespace kbt2\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
