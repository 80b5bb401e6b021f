# The parts of the program that need no Qt, built on their own: the registry store with its
# conformance suite, and the desktop services that call Win32 directly. This is how they are
# built and tested for Windows, for which Debian ships no Qt to link with.

add_subdirectory(src/hive)

if(VINDREL_BUILD_TESTS)
    enable_testing()
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    include(${PROJECT_SOURCE_DIR}/cmake/CrossGoogleTest.cmake)
    add_subdirectory(tests/hive)
    # Windows' side of vindrel-reg's differential test; the Linux side needs the tool itself.
    if(WIN32)
        add_subdirectory(tests/differential)
    endif()
endif()

if(NOT WIN32)
    return()
endif()

set(platform ${PROJECT_SOURCE_DIR}/src/platform)

# The services free of Qt, compiled into a library as the program's own build does.
set(qt_free_services ${platform}/timezone_win.cpp ${platform}/uptime_win.cpp)
add_library(vindrel_win32_services STATIC ${qt_free_services})
target_include_directories(vindrel_win32_services PUBLIC ${platform})

# Every other Windows source, a new one too, is compiled, not linked, against the build
# machine's Qt headers: they declare the same API as Qt for Windows, whose libraries Debian
# does not have.
file(GLOB with_qt CONFIGURE_DEPENDS ${platform}/*_win.cpp)
list(REMOVE_ITEM with_qt ${qt_free_services})
find_program(VINDREL_QTPATHS NAMES qtpaths6 qtpaths)
if(VINDREL_QTPATHS)
    execute_process(COMMAND ${VINDREL_QTPATHS} --query QT_INSTALL_HEADERS
        OUTPUT_VARIABLE qt_headers OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT EXISTS "${qt_headers}/QtCore/qglobal.h")
    message(WARNING "No Qt headers found: the Windows sources that include Qt are not compiled")
    return()
endif()
add_library(vindrel_win32_qt_sources OBJECT ${with_qt} ${PROJECT_SOURCE_DIR}/src/core/easy_reg.cpp)
target_include_directories(vindrel_win32_qt_sources SYSTEM PRIVATE
    ${qt_headers} ${qt_headers}/QtCore ${qt_headers}/QtGui)
target_include_directories(vindrel_win32_qt_sources PRIVATE ${platform} ${PROJECT_SOURCE_DIR}/src/core)
target_link_libraries(vindrel_win32_qt_sources PRIVATE vindrel_hive)
