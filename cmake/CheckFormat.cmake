cmake_minimum_required(VERSION 3.25)
# cmake -DROOT=<source> -DCLANG_FORMAT=<program> -P CheckFormat.cmake
# Fails when a C++ source differs from what clang-format makes of it with the project's
# .clang-format; `clang-format -i <file>` mends it.
file(GLOB_RECURSE files RELATIVE "${ROOT}" "${ROOT}/*.cpp" "${ROOT}/*.h")
list(FILTER files EXCLUDE REGEX "^(build|build-[^/]*|\\.cache)/")
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${files}
                WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "[^\n]*: error: code should be clang-formatted[^\n]*" lines "${errors}")
  set(names "")
  foreach(line ${lines})
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error.*$" "" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  list(REMOVE_DUPLICATES names)
  list(JOIN names "\n  " text)
  message(FATAL_ERROR "Not formatted (clang-format -i mends them):\n  ${text}")
endif()
