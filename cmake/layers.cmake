# Reads the layer table (cmake/layers.txt) into QM_LAYERS (the game's libraries, lowest first),
# QM_TOOL_LIBRARIES (the build's tools' libraries that tests use), QM_LAYER_FOLDER_<library> and
# QM_LAYER_USES_<library>.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/layers.txt qm_layer_lines REGEX "^[a-z]")
set(QM_LAYERS "")
set(QM_TOOL_LIBRARIES "")
foreach(line IN LISTS qm_layer_lines)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(POP_FRONT fields name folder)
  list(REMOVE_ITEM fields "-")
  if(folder MATCHES "^tools/")
    list(APPEND QM_TOOL_LIBRARIES ${name})
  else()
    list(APPEND QM_LAYERS ${name})
  endif()
  set(QM_LAYER_FOLDER_${name} ${folder})
  set(QM_LAYER_USES_${name} ${fields})
endforeach()

# What each layer needs from outside. The platform's core (services, clock, random, CP932, game
# folder, drawing on images) needs no widgets, so the state, voyage and mixer layers above it
# cannot reach a window or a dialog: whatever makes or drives a QWidget belongs in
# platform/widgets/, which only the cockpit and the program shell link, and SDL's game
# controllers sit in platform/sdl/ so that no layer above them meets SDL. (The directory that
# builds the layers finds SDL2 itself.)
set(QM_OUTSIDE_qm_platform Qt6::Core Qt6::Gui qm_catalog)
set(QM_OUTSIDE_qm_platform_widgets Qt6::Widgets)
set(QM_OUTSIDE_qm_platform_sdl SDL2::SDL2)
set(QM_OUTSIDE_qm_pcmmix SDL2::SDL2)
# Only the layers with Qt objects of their own need the meta-object compiler.
set(QM_MOC_LAYERS qm_platform_widgets qm_cockpit qm_app)
