# The English string table is kept as resources/strings_en.tsv (id, TAB, text) and compiled
# into the platform library as a generated table.

set(QV_STRINGS_TSV ${CMAKE_SOURCE_DIR}/resources/strings_en.tsv)
set(QV_STRINGS_INC ${CMAKE_BINARY_DIR}/generated/string_table_en.inc)

add_custom_command(
  OUTPUT ${QV_STRINGS_INC}
  COMMAND ${CMAKE_COMMAND} -DIN=${QV_STRINGS_TSV} -DOUT=${QV_STRINGS_INC}
          -P ${CMAKE_SOURCE_DIR}/cmake/GenerateStringTable.cmake
  DEPENDS ${QV_STRINGS_TSV} ${CMAKE_SOURCE_DIR}/cmake/GenerateStringTable.cmake
  COMMENT "Generating the English string table")
add_custom_target(qv_string_table DEPENDS ${QV_STRINGS_INC})

function(quorvel_attach_string_table target)
  add_dependencies(${target} qv_string_table)
  target_include_directories(${target} PRIVATE ${CMAKE_BINARY_DIR}/generated)
endfunction()
