# The layering check, run as a test: cmake -DSOURCE_DIR=... -DWIDGETS_DIR=... -P CheckLayers.cmake
# Each folder may include only the folders listed for it (its own among them), so the links
# between the libraries point one way; below app/ and dialogs/ nothing includes Qt Widgets.
# Fails naming every include that breaks a rule.
cmake_minimum_required(VERSION 3.25)
set(engine_core engine/format engine/model)
set(allowed_storage storage)
set(allowed_automation storage automation)
set(allowed_engine/format engine/format)
set(allowed_engine/model automation ${engine_core})
set(allowed_engine/calc ${engine_core} engine/calc)
set(allowed_engine/readers automation ${engine_core} engine/calc engine/readers)
set(allowed_engine/find ${engine_core} engine/find)
set(allowed_engine/objects automation ${engine_core} engine/calc engine/readers engine/find
    engine/objects)
set(allowed_search/index search/index)
set(allowed_search storage automation search search/index)
set(allowed_cli storage automation search search/index ${engine_core} engine/readers engine/find engine/objects cli)
set(allowed_tools storage tools)
set(allowed_dialogs storage dialogs)
set(allowed_app storage automation search search/index ${engine_core} engine/readers engine/find engine/objects
    dialogs app)
set(folders storage automation engine/format engine/model engine/calc engine/readers engine/find
    engine/objects search/index search cli tools dialogs app)
set(without_widgets storage automation engine/format engine/model engine/calc engine/readers
    engine/find
    engine/objects search/index search cli tools)

file(GLOB widget_headers RELATIVE ${WIDGETS_DIR} ${WIDGETS_DIR}/Q*)
set(violations "")
foreach(folder ${folders})
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^#include [\"<]")
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
    foreach(line ${includes})
      # An engine or index include names its library (engine/model), any other its folder.
      set(target "")
      if(line MATCHES "^#include \"(engine/[a-z]+|search/index)/")
        set(target ${CMAKE_MATCH_1})
      elseif(line MATCHES "^#include \"([a-z]+)/")
        set(target ${CMAKE_MATCH_1})
      endif()
      if(target AND NOT target IN_LIST allowed_${folder})
        string(APPEND violations "${shown}: ${line} (${folder} may not include ${target})\n")
      endif()
      if(folder IN_LIST without_widgets AND line MATCHES "^#include <(QtWidgets/)?([A-Za-z]+)>")
        if(CMAKE_MATCH_1 OR CMAKE_MATCH_2 IN_LIST widget_headers)
          string(APPEND violations "${shown}: ${line} (Qt Widgets below app/ and dialogs/)\n")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "Includes against the layers:\n${violations}")
endif()
message(STATUS "Layers respected")
