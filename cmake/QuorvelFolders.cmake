# Builds the per-folder libraries. See the top-level CMakeLists.txt for the rules.

# A window file is a source whose name ends in one of these suffixes; every other source is
# a model file. The tests, the Qt-include check and the include-order check use the same
# pattern.
set(QV_UI_SUFFIXES "_window|_dialog|_control|_widget|_qt")
set(QV_UI_REGEX "(${QV_UI_SUFFIXES})\\.cpp$")
set(QV_UI_TEST_REGEX "(${QV_UI_SUFFIXES})_test\\.cpp$")

# The program's main() builds into the executable, not into a folder library.
set(QV_MAIN_REGEX "/app/main\\.cpp$")

# quorvel_split_sources(<folder> <model-out> <ui-out>)
function(quorvel_split_sources folder model_out ui_out)
  file(GLOB_RECURSE all CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
  list(FILTER all EXCLUDE REGEX "${QV_MAIN_REGEX}")
  set(model ${all})
  set(ui ${all})
  list(FILTER model EXCLUDE REGEX "${QV_UI_REGEX}")
  list(FILTER ui INCLUDE REGEX "${QV_UI_REGEX}")
  set(${model_out} ${model} PARENT_SCOPE)
  set(${ui_out} ${ui} PARENT_SCOPE)
endfunction()

function(quorvel_add_folders)
  set(lower_model "")
  set(lower_ui "")
  foreach(folder ${ARGN})
    quorvel_split_sources(${folder} model ui)

    if(model)
      add_library(qv_${folder} STATIC ${model})
      target_include_directories(qv_${folder} PUBLIC ${CMAKE_SOURCE_DIR})
      target_link_libraries(qv_${folder} PUBLIC ${lower_model})
    else()
      add_library(qv_${folder} INTERFACE)
      target_include_directories(qv_${folder} INTERFACE ${CMAKE_SOURCE_DIR})
      target_link_libraries(qv_${folder} INTERFACE ${lower_model})
    endif()
    if(folder STREQUAL "platform")
      quorvel_attach_string_table(qv_${folder})
    endif()

    if(ui)
      add_library(qv_${folder}_ui STATIC ${ui})
      set_target_properties(qv_${folder}_ui PROPERTIES AUTOMOC ON)
      target_link_libraries(qv_${folder}_ui PUBLIC qv_${folder} ${lower_ui}
                            Qt6::Widgets Qt6::PrintSupport)
    else()
      add_library(qv_${folder}_ui INTERFACE)
      target_link_libraries(qv_${folder}_ui INTERFACE qv_${folder} ${lower_ui}
                            Qt6::Widgets Qt6::PrintSupport)
    endif()

    list(APPEND lower_model qv_${folder})
    list(APPEND lower_ui qv_${folder}_ui)
  endforeach()
endfunction()
