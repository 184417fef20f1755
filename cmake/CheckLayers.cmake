# The layers of the program, from the base up: each room includes only its own and lower
# rooms. Run by the build (cmake -P, SOURCE_DIR and STAMP set); a wrong include fails it.
#   mbcs  <  framework  <  shell  <  tree, about  <  search  <  frame  <  view  <  app
# find (the matcher of the find box) is portable like mbcs and stands on it alone.
# shell: the program in the Windows shell, by the real (wide) paths of the files.
# The application hands the frame and the view what they need; they never reach up to it.
set(allowed_mbcs mbcs)
set(allowed_find mbcs find)
set(allowed_framework mbcs framework)
set(allowed_res framework)
set(allowed_tree mbcs framework tree)
set(allowed_shell mbcs framework shell res)
set(allowed_about mbcs framework about res)
set(allowed_search mbcs find framework shell tree res search)
set(allowed_frame mbcs framework shell tree about res frame)
set(allowed_view mbcs framework shell tree about res frame view search)
set(allowed_app mbcs framework shell tree about res frame view app search)

set(failures "")
foreach(room mbcs find framework res shell tree about search frame view app)
  file(GLOB sources "${SOURCE_DIR}/${room}/*.h" "${SOURCE_DIR}/${room}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^#include \"[a-z]+/")
    foreach(line ${includes})
      string(REGEX MATCH "\"([a-z]+)/([^\"]+)\"" _ "${line}")
      set(target_room "${CMAKE_MATCH_1}")
      list(FIND allowed_${room} "${target_room}" found)
      if(found LESS 0)
        string(APPEND failures "\n  ${source} includes ${CMAKE_MATCH_1}/${CMAKE_MATCH_2}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(failures)
  string(REPLACE "${SOURCE_DIR}/" "" failures "${failures}")
  message(FATAL_ERROR "includes against the layers (mbcs < framework < shell < tree, about < search < frame < view < app):${failures}")
endif()
file(TOUCH "${STAMP}")
