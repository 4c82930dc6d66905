# GoogleTest comes from the distribution's source package, so that the same sources serve the
# native build and the mingw-w64 cross build.
find_path(GOOGLETEST_SOURCE_DIR NAMES googletest/CMakeLists.txt
          PATHS /usr/src/googletest NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT GOOGLETEST_SOURCE_DIR)
    message(FATAL_ERROR "GoogleTest sources not found: run scripts/setup.sh (package googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
