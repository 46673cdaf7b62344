# Shared settings of the scripts; sourced, not run.
# ZK_DEPS_CACHE: where the cross-compiled libraries live (outside git, reused by every run).
# ZK_BUILD: the build folder; the test Wine prefix lives inside it.
: "${ZK_DEPS_CACHE:=/var/cache/zendrikolbar}"
: "${ZK_BUILD:=$root/build}"
export ZK_DEPS_CACHE ZK_BUILD
export ZK_DEPS_PREFIX="$ZK_DEPS_CACHE/prefix"
export ZK_TOOLCHAIN="$root/cmake/mingw64.cmake"

# The pinned Wine environment of tests and runs.
export WINEPREFIX="$ZK_BUILD/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"
unset http_proxy https_proxy ftp_proxy no_proxy HTTP_PROXY HTTPS_PROXY FTP_PROXY NO_PROXY all_proxy ALL_PROXY
