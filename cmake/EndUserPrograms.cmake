# The programs that end users run (the setup runtime, the uninstaller it carries, the
# update client) and the libraries they are made of are built for size: every byte of them
# is downloaded with each setup, while their work is bound by the disk and the
# decompressor, not by their own code.
function(zk_size_optimised target)
  target_compile_options(${target} PRIVATE -Os)
endfunction()

# An end-user program: built for size, with the quiet terminate handler linked in.
function(zk_end_user_program target)
  zk_size_optimised(${target})
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/common/quiet_terminate.cpp)
endfunction()
