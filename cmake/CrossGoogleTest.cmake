# GoogleTest built from Debian's sources for the target, since Debian has no GoogleTest built
# for Windows; a native build takes the installed one.
if(CMAKE_CROSSCOMPILING)
    set(VINDREL_GOOGLETEST_SOURCES /usr/src/googletest
        CACHE PATH "GoogleTest's sources, built for the target")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # GoogleTest's own Windows locks, as in a build on Windows itself.
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    add_subdirectory(${VINDREL_GOOGLETEST_SOURCES} googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()
