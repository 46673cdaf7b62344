# The programs that end users run (the setup runtime, the uninstaller it carries, the
# update client) and the libraries they are made of are built for size: every byte of them
# is downloaded with each setup, while their work is bound by the disk and the
# decompressor, not by their own code.
#
# They are also optimised across files at link time, which inlines the many small helpers
# and drops the functions no program reaches (the linker alone cannot: the unwind table
# refers to every function of each object it takes). The libraries keep machine code
# beside their intermediate code (fat objects), so the tool and the tests, which link
# them without that step, still get ordinary objects.
# This compiler (GCC 12 for 64-bit Windows) fails on this code with its defaults: the
# clones that interprocedural scalar replacement makes of implicit assignment operators
# crash it, and split link-time partitions lose the private copies of implicit copy
# constructors that another partition calls. Hence -fno-ipa-sra and one partition, which
# also suits programs this small.
#
# The checked build links no end-user program, only tests, which take the machine code:
# its libraries skip the intermediate code, the same code generated without it.
function(zk_size_optimised target)
  target_compile_options(${target} PRIVATE -Os -fno-ipa-sra)
  if(NOT ZK_CHECKED)
    target_compile_options(${target} PRIVATE -flto -ffat-lto-objects)
  endif()
endfunction()

# An end-user program: built for size, optimised at link time, with the quiet terminate
# handler linked in and its symbols kept apart. -Os and -g1 are repeated for the link,
# where the code and its line tables are generated.
function(zk_end_user_program target)
  zk_size_optimised(${target})
  target_link_options(${target} PRIVATE -Os -g1 -flto -flto-partition=one)
  zk_keep_symbols(${target})
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/common/quiet_terminate.cpp)
endfunction()
