# lua_test(NAME name MODULE velmora|tarnic|path SCRIPT file.lua [OPTIONS opt...] [ARGS arg...])
# Registers a Lua test script run in the stand-in host through scripts/run-lua.
function(lua_test)
  cmake_parse_arguments(T "" "NAME;MODULE;SCRIPT" "OPTIONS;ARGS" ${ARGN})
  add_test(NAME ${T_NAME}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-lua ${T_OPTIONS} ${T_MODULE}
            ${CMAKE_CURRENT_SOURCE_DIR}/${T_SCRIPT} ${T_ARGS})
  # The suite builds before it runs; each test only runs.
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "RUN_LUA_NO_BUILD=1" TIMEOUT 600)
endfunction()
