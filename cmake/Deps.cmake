# The third-party libraries, cross-compiled by scripts/deps.sh into ZK_DEPS_PREFIX.
set(ZK_DEPS_PREFIX "$ENV{ZK_DEPS_PREFIX}" CACHE PATH "Prefix of the cross-compiled dependencies")
if(NOT EXISTS "${ZK_DEPS_PREFIX}/include/zlib.h")
  message(FATAL_ERROR "Dependencies missing in '${ZK_DEPS_PREFIX}': run scripts/setup.sh")
endif()

function(zk_import name lib)
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES
    IMPORTED_LOCATION "${ZK_DEPS_PREFIX}/lib/${lib}"
    INTERFACE_INCLUDE_DIRECTORIES "${ZK_DEPS_PREFIX}/include")
  foreach(dep ${ARGN})
    set_property(TARGET ${name} APPEND PROPERTY INTERFACE_LINK_LIBRARIES ${dep})
  endforeach()
endfunction()

zk_import(zk_zlib libz.a)
zk_import(zk_minizip libminizip.a zk_zlib)
zk_import(zk_expat libexpat.a)
set_property(TARGET zk_expat APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS XML_STATIC)
zk_import(zk_png libpng16.a zk_zlib)
zk_import(zk_jpeg libjpeg.a)
zk_import(zk_gtest libgtest.a)
zk_import(zk_gmock libgmock.a zk_gtest)
zk_import(zk_gtest_main libgtest_main.a zk_gtest)
