# Writes INPUT (a text file) as the C++ string qvhost::ServePage into OUTPUT.
file(READ "${INPUT}" page HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${page}")
file(WRITE "${OUTPUT}" "namespace qvhost {\nextern const char ServePage[] = {${bytes} 0};\n}\n")
