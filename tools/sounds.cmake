# Every sound effect and piece of music in dat/ is made by code at build time: make_sounds
# synthesizes the WAVE files, make_music writes the MIDI files from note lists. Each program is
# given the list below and refuses to run if it makes anything else, so this list, the files in
# the game folder and the tests stay in step.

file(GLOB sound_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/make_sounds/*.cpp)
add_executable(make_sounds ${sound_sources})
# The game's own atomic file writing, so a build that stops never leaves half a file behind.
target_link_libraries(make_sounds PRIVATE qm_state)
qm_strict(make_sounds)

# The notation (note lists, chord symbols, the MIDI file writer) apart from the pieces, so the
# sound assets test can check it too.
add_library(qm_music_score STATIC ${CMAKE_CURRENT_SOURCE_DIR}/make_music/score.cpp
                                  ${CMAKE_CURRENT_SOURCE_DIR}/make_music/smf.cpp)
target_include_directories(qm_music_score PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
qm_strict(qm_music_score)
add_executable(make_music
  ${CMAKE_CURRENT_SOURCE_DIR}/make_music/main.cpp ${CMAKE_CURRENT_SOURCE_DIR}/make_music/title.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/make_music/opening.cpp ${CMAKE_CURRENT_SOURCE_DIR}/make_music/ending.cpp)
target_link_libraries(make_music PRIVATE qm_music_score qm_state)
qm_strict(make_music)

set(QM_SOUND_NAMES 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18
    pi e e2 log logon check on map bom booster baku error)
set(QM_MUSIC_NAMES title opening ending)

set(sound_files "")
foreach(name IN LISTS QM_SOUND_NAMES)
  list(APPEND sound_files ${QM_GAME_DIR}/dat/${name}.wav)
endforeach()
set(music_files "")
foreach(name IN LISTS QM_MUSIC_NAMES)
  list(APPEND music_files ${QM_GAME_DIR}/dat/${name}.mid)
endforeach()

add_custom_command(
  OUTPUT ${sound_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_GAME_DIR}/dat
  COMMAND $<TARGET_FILE:make_sounds> ${QM_GAME_DIR}/dat ${QM_SOUND_NAMES}
  DEPENDS make_sounds
  COMMENT "Synthesizing the game's sounds")
add_custom_command(
  OUTPUT ${music_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_GAME_DIR}/dat
  COMMAND $<TARGET_FILE:make_music> ${QM_GAME_DIR}/dat ${QM_MUSIC_NAMES}
  DEPENDS make_music
  COMMENT "Writing the game's music")
add_custom_target(game_sounds ALL DEPENDS ${sound_files} ${music_files})
add_dependencies(game_assets game_sounds)

