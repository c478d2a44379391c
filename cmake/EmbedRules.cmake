# Embedding of the rule files into the programs (see rules/CMakeLists.txt).
