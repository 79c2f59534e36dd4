# The compiler cache for every build of the scripts. Source this file from
# the checkout's root; it sets KQ_CCACHE, the CMake options that put ccache
# in front of the compilers. The cache is ccache's own (~/.cache/ccache), so
# CI's fresh clones on one machine share it: paths are taken relative to the
# checkout, which makes the objects of two clones alike.
export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
KQ_CCACHE=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
