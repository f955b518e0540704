# Fixture plug-ins: small DLLs built from one source, each with a version
# resource of its own. Tests and the demo machine copy them under plug-in
# names such as "Camera Raw.8bi".
#
#   varnock_fixture_plugin(<name> FILEVERSION "3, 7, 0, 0"
#                          [NUMBERS 3,7,0,0] [BLOCK 040904b0] [TRANSLATION "0x0409, 0x04b0"]
#                          [NO_TRANSLATION] [ON_LOAD marker|crash] [LOAD_CONFIG])
set(VARNOCK_FIXTURE_DIR ${CMAKE_CURRENT_LIST_DIR}/../tests/fixtures)
set_property(GLOBAL PROPERTY VARNOCK_FIXTURES "")

function(varnock_fixture_plugin name)
  cmake_parse_arguments(F "NO_TRANSLATION;LOAD_CONFIG" "FILEVERSION;NUMBERS;BLOCK;TRANSLATION;ON_LOAD" "" ${ARGN})
  if(NOT DEFINED F_NUMBERS)
    string(REPLACE " " "" F_NUMBERS "${F_FILEVERSION}")
    string(REPLACE "." "," F_NUMBERS "${F_NUMBERS}")
  endif()
  if(NOT DEFINED F_BLOCK)
    set(F_BLOCK 040904b0)
  endif()
  if(NOT DEFINED F_TRANSLATION)
    set(F_TRANSLATION "0x0409, 0x04b0")
  endif()
  if(F_NO_TRANSLATION)
    set(FIXTURE_TRANSLATION "")
  else()
    set(FIXTURE_TRANSLATION "BLOCK \"VarFileInfo\"\nBEGIN\nVALUE \"Translation\", ${F_TRANSLATION}\nEND")
  endif()
  set(FIXTURE_NUMBERS "${F_NUMBERS}")
  set(FIXTURE_FILEVERSION "${F_FILEVERSION}")
  set(FIXTURE_BLOCK "${F_BLOCK}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/fixtures/${name}.rc)
  configure_file(${VARNOCK_FIXTURE_DIR}/plugin.rc.in ${rc} @ONLY)

  add_library(${name} SHARED ${VARNOCK_FIXTURE_DIR}/plugin.c ${rc})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll"
                        LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fixtures
                        RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fixtures)
  if(F_ON_LOAD STREQUAL "marker")
    target_compile_definitions(${name} PRIVATE FIXTURE_WRITES_MARKER)
  elseif(F_ON_LOAD STREQUAL "crash")
    target_compile_definitions(${name} PRIVATE FIXTURE_CRASHES)
  endif()
  if(F_LOAD_CONFIG)
    target_compile_definitions(${name} PRIVATE FIXTURE_LOAD_CONFIG)
  endif()
  set_property(GLOBAL APPEND PROPERTY VARNOCK_FIXTURES ${name})
endfunction()
