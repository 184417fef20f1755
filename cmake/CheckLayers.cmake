# The layers of the program, from the base up: each room includes only its own and lower
# rooms. Run by the build (cmake -P, SOURCE_DIR and STAMP set); a wrong include fails it.
#   mbcs  <  framework  <  shell  <  tree, about  <  app, frame, view
# shell: the program in the Windows shell, by the real (wide) paths of the files.
# Within the top: frame and view reach the application object's settings through
# app/Settings.h and never include app/FernwickApp.h; frame includes no view.
set(allowed_mbcs mbcs)
set(allowed_framework mbcs framework)
set(allowed_res framework)
set(allowed_tree mbcs framework shell tree res)
set(allowed_shell mbcs framework shell res)
set(allowed_about mbcs framework about res)
set(allowed_frame mbcs framework tree shell about res frame app)
set(allowed_view mbcs framework tree shell about res frame view app)
set(allowed_app mbcs framework tree shell about res frame view app)

set(failures "")
foreach(room mbcs framework res shell tree about frame view app)
  file(GLOB sources "${SOURCE_DIR}/${room}/*.h" "${SOURCE_DIR}/${room}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^#include \"[a-z]+/")
    foreach(line ${includes})
      string(REGEX MATCH "\"([a-z]+)/([^\"]+)\"" _ "${line}")
      set(target_room "${CMAKE_MATCH_1}")
      set(target "${CMAKE_MATCH_1}/${CMAKE_MATCH_2}")
      list(FIND allowed_${room} "${target_room}" found)
      if(found LESS 0 OR (NOT room STREQUAL "app" AND target STREQUAL "app/FernwickApp.h"))
        string(APPEND failures "\n  ${source} includes ${target}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(failures)
  string(REPLACE "${SOURCE_DIR}/" "" failures "${failures}")
  message(FATAL_ERROR "includes against the layers (mbcs < framework < tree, about < app, frame, view):${failures}")
endif()
file(TOUCH "${STAMP}")
