# Separate symbol files of the shipped programs, so that a crash address a user reports
# can be turned into a function and a source line:
#   x86_64-w64-mingw32-addr2line -f -C -e build/symbols/SetupRuntime.exe.debug ADDRESS
# (ADDRESS as in the image: the program's base 0x140000000 plus the offset into it).
#
# The program is linked with its symbols; a step after the link copies them into
# symbols/<file>.debug and strips the program, which leaves the same image as a link
# with -s. The step comes before any step that patches the image's size slot, so that
# patch and the programs that carry this one see the final file. The file of a build
# belongs to that build's images only.
set(ZK_SYMBOLS_DIR ${CMAKE_BINARY_DIR}/symbols)

function(zk_keep_symbols target)
  get_target_property(options ${target} LINK_OPTIONS)
  if(options)
    list(REMOVE_ITEM options -s)
    set_target_properties(${target} PROPERTIES LINK_OPTIONS "${options}")
  endif()
  set(symbols ${ZK_SYMBOLS_DIR}/$<TARGET_FILE_NAME:${target}>.debug)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZK_SYMBOLS_DIR}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${symbols}
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
