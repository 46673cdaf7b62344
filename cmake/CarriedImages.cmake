# Carried program images (one program holding another's built file unchanged) and the
# image-size constant that a carried program uses to find data appended to its own file.

set(ZK_PATCH_SCRIPT ${CMAKE_SOURCE_DIR}/cmake/patch-image-size.pl)
find_program(ZK_PERL perl REQUIRED)

# After linking, writes the file's real size into the program's tagged size slot.
# Nothing may change the file after this step.
function(zk_patch_image_size target tag)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${ZK_PERL} ${ZK_PATCH_SCRIPT} $<TARGET_FILE:${target}> ${tag}
    VERBATIM)
endfunction()

# Embeds the built file of `carried` as RCDATA resource `res_id` (a name from
# src/common/carried.h) of `target`.
function(zk_carry_image target carried res_id)
  set(file ${ZK_BIN_DIR}/${carried}.exe)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_carries_${carried}.rc)
  file(WRITE ${rc}.in "#include \"common/carried.h\"\n${res_id} RCDATA \"@ZK_CARRIED_FILE@\"\n")
  set(ZK_CARRIED_FILE ${file})
  configure_file(${rc}.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${file})
  add_dependencies(${target} ${carried})
endfunction()

# The setup runtime, the uninstaller and their tests are Unicode programs (wWinMain).
function(zk_unicode target)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE)
  target_link_options(${target} PRIVATE -municode)
endfunction()
