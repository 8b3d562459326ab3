# Writes the bytes of IN as a C array named SYMBOL into OUT.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" len)
math(EXPR bytes "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" body "${body}")
file(WRITE ${OUT}.tmp "// Generated from ${IN}; do not edit.\n#include <cstddef>\nextern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}_size;\nconst unsigned char ${SYMBOL}[] = {\n${body}0x00};\nconst std::size_t ${SYMBOL}_size = ${bytes};\n")
file(RENAME ${OUT}.tmp ${OUT})
