# Language files "language\1033.lan" and "language\2052.lan" beside the exe, written at
# build time from the text table texts.tsv (included from assets/CMakeLists.txt, so the
# outputs join TAVIK_ASSET_OUTPUTS of that scope).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(language_table ${CMAKE_CURRENT_LIST_DIR}/texts.tsv)
set(language_script ${PROJECT_SOURCE_DIR}/scripts/make-language-file.py)
set(language_files ${TAVIK_OUTPUT_DIR}/language/1033.lan ${TAVIK_OUTPUT_DIR}/language/2052.lan)
add_custom_command(
  OUTPUT ${language_files}
  COMMAND ${Python3_EXECUTABLE} ${language_script} ${language_table} ${TAVIK_OUTPUT_DIR}/language
  DEPENDS ${language_table} ${language_script}
  COMMENT "Writing the language files")
list(APPEND TAVIK_ASSET_OUTPUTS ${language_files})
