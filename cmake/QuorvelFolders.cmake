# Builds the per-folder libraries. See the top-level CMakeLists.txt for the rules.

set(QV_UI_REGEX "(_window|_dialog|_control|_widget|_qt)\\.cpp$")

# quorvel_split_sources(<folder> <model-out> <ui-out>)
function(quorvel_split_sources folder model_out ui_out)
  file(GLOB_RECURSE all CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
  list(FILTER all EXCLUDE REGEX "/books/main\\.cpp$")
  # The application layer (main window, application object) sits above every folder and
  # builds into a target of its own (see the top-level CMakeLists.txt).
  if(QV_APP_REGEX)
    list(FILTER all EXCLUDE REGEX "${QV_APP_REGEX}")
  endif()
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
      set(scope PUBLIC)
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
