# The five game files the installer carries. Usage, once, from any project (native or cross):
#
#   include(Payload)
#   kw_add_payload()
#
# builds the game in a nested i686 MinGW project and gathers the files in ${CMAKE_BINARY_DIR}/payload behind
# the custom target kw_payload. It sets in the caller's scope:
#   KW_PAYLOAD_DIR    ${CMAKE_BINARY_DIR}/payload
#   KW_PAYLOAD_FILES  absolute paths of PlayKestrowin.exe, Engine3D.dll, Assets.zip,
#                     TroubleShooting_Guide.txt, OgreMITLicense.txt, in that order
# Anything that reads the files should depend on the target kw_payload.
include_guard(GLOBAL)
include(ExternalProject)

function(kw_add_payload)
  get_filename_component(root "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/.." ABSOLUTE)
  set(game_build "${CMAKE_BINARY_DIR}/kw_game")
  set(game_out "${game_build}/out")
  set(payload_dir "${CMAKE_BINARY_DIR}/payload")

  set(built PlayKestrowin.exe Engine3D.dll Assets.zip)
  set(kept TroubleShooting_Guide.txt OgreMITLicense.txt)
  set(built_paths "")
  foreach(name IN LISTS built)
    list(APPEND built_paths "${game_out}/${name}")
  endforeach()
  set(sources ${built_paths})
  foreach(name IN LISTS kept)
    list(APPEND sources "${root}/assets/payload/${name}")
  endforeach()

  # The game is always a 32-bit Windows program, whatever the calling project is configured for.
  # BUILD_ALWAYS leaves change detection to the nested build, which only rebuilds what its sources touch.
  ExternalProject_Add(kw_payload_game
    SOURCE_DIR "${root}/assets/game"
    BINARY_DIR "${game_build}"
    PREFIX "${CMAKE_BINARY_DIR}/kw_game-prefix"
    CMAKE_ARGS
      "-DCMAKE_TOOLCHAIN_FILE=${root}/cmake/mingw-i686.cmake"
      -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS TRUE
    BUILD_BYPRODUCTS ${built_paths})

  set(files "")
  set(copies "")
  foreach(source IN LISTS sources)
    get_filename_component(name "${source}" NAME)
    list(APPEND files "${payload_dir}/${name}")
    list(APPEND copies COMMAND "${CMAKE_COMMAND}" -E copy_if_different "${source}" "${payload_dir}/${name}")
  endforeach()

  # Copies only what changed: an unchanged file keeps its time stamp, so whatever embeds the payload is not
  # rebuilt for nothing.
  add_custom_target(kw_payload
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${payload_dir}"
    ${copies}
    BYPRODUCTS ${files}
    COMMENT "Gathering the game files in ${payload_dir}"
    VERBATIM)
  add_dependencies(kw_payload kw_payload_game)

  set(KW_PAYLOAD_DIR "${payload_dir}" PARENT_SCOPE)
  set(KW_PAYLOAD_FILES "${files}" PARENT_SCOPE)
endfunction()
