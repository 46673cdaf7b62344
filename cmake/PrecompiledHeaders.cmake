# Precompiled headers. Nearly every file includes <windows.h>; this compiler takes longer
# to read it and <commctrl.h> (about 1.5 s) than to compile most files' own code. They are
# read once per library, or once for all tests of a kind, and loaded in compiled form
# after that. The headers come first in every file of a target that uses them; nothing
# in the tree defines a macro before including them, the Windows settings being the
# build's own definitions (CMakeLists.txt).
#
# Only the Windows headers: with the C++ library's headers (and GoogleTest, which brings
# them) precompiled, this compiler (GCC 12) reports its false out-of-bounds copies inside
# them at -O3, which it otherwise keeps to itself as they are in system headers.
set(ZK_PCH_HEADERS <windows.h> <commctrl.h>)

# A library's own precompiled headers, made with its own options (size-optimised,
# link-time code, Unicode or not), so that the compiler never refuses them.
function(zk_precompile_headers)
  foreach(target ${ARGN})
    target_precompile_headers(${target} PRIVATE ${ZK_PCH_HEADERS})
  endforeach()
endfunction()
