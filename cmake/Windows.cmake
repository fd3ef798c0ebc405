# The Windows half: the framework and program library, corvane.exe with its
# resources, and GoogleTest cross-built for the test programs that ctest runs
# under Wine (scripts/wine-run.sh is the cross-compiling emulator).
include(ExternalProject)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CORVANE_ROOT}/scripts/wine-run.sh
    --prefix ${CMAKE_BINARY_DIR}/wineprefix)

# Everything runs alone on Windows: no runtime DLLs beside the exe.
add_link_options(-static -static-libgcc -static-libstdc++)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Generators for the icon and the stored skin are native programs: build them
# with the host compiler in a sub-build of their own.
ExternalProject_Add(host_tools
  SOURCE_DIR ${CORVANE_ROOT}/tools
  BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
  CMAKE_ARGS -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-tools/corvane_icon_art
                   ${CMAKE_BINARY_DIR}/host-tools/corvane_skin_art
                   ${CMAKE_BINARY_DIR}/host-tools/corvane_skin_pack)
set(CORVANE_HOST_TOOLS ${CMAKE_BINARY_DIR}/host-tools)

set(generated ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${generated})
add_custom_command(OUTPUT ${generated}/corvane.ico
  COMMAND ${CORVANE_HOST_TOOLS}/corvane_icon_art ${generated}/corvane.ico
  DEPENDS host_tools ${CORVANE_HOST_TOOLS}/corvane_icon_art
  COMMENT "Drawing the program icon")
add_custom_target(generated_resources DEPENDS ${generated}/corvane.ico)
include(${CORVANE_ROOT}/cmake/StoredSkin.cmake)
corvane_stored_skin(${CORVANE_HOST_TOOLS}/corvane_skin_art ${CORVANE_HOST_TOOLS}/corvane_skin_pack
                    ${generated}/stored.skn
                    DEPENDS host_tools ${CORVANE_HOST_TOOLS}/corvane_skin_art
                            ${CORVANE_HOST_TOOLS}/corvane_skin_pack)
add_dependencies(generated_resources stored_skin)

get_property(windows_sources GLOBAL PROPERTY CORVANE_WINDOWS_SOURCES)
add_library(corvane_win STATIC ${windows_sources} ${CORVANE_ROOT}/cmake/empty.cpp)
target_include_directories(corvane_win PUBLIC ${CORVANE_ROOT}/src)
target_compile_definitions(corvane_win PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX STRICT _WIN32_WINNT=0x0A00)
corvane_warnings(corvane_win)
# The stored skin's resource identifier, shared with skin.rc.
target_include_directories(corvane_win PRIVATE ${CORVANE_ROOT}/resources)
# Every library but the window ones (user32, gdi32) loads at its first
# call: the launcher shows before any of them is needed.
include(${CORVANE_ROOT}/cmake/DelayLoad.cmake)
corvane_delay_load_libraries(late_libraries
  comctl32 comdlg32 shell32 ole32 oleaut32 shlwapi version urlmon wininet msimg32)
target_link_libraries(corvane_win PUBLIC corvane_core ${late_libraries} uuid ws2_32 gdi32 user32)

# The manifest carries the version too; windres finds it in generated/.
configure_file(${CORVANE_ROOT}/resources/corvane.manifest.in ${generated}/corvane.manifest @ONLY)
set(resource_file ${CORVANE_ROOT}/resources/corvane.rc)
set_source_files_properties(${resource_file} PROPERTIES
  OBJECT_DEPENDS "${generated}/corvane.ico;${generated}/corvane.manifest;${CORVANE_ROOT}/resources/version.h")
set(stored_skins ${generated}/stored.skn)
foreach(dpi ${CORVANE_SKIN_SCALES})
  list(APPEND stored_skins ${generated}/stored-${dpi}.skn)
endforeach()
set_source_files_properties(${CORVANE_ROOT}/resources/skin.rc PROPERTIES
  OBJECT_DEPENDS "${stored_skins};${CORVANE_ROOT}/resources/skin_resource.h")
add_executable(corvane WIN32 ${CORVANE_ROOT}/src/launcher/EntryPoint.cpp ${resource_file}
               ${CORVANE_ROOT}/resources/skin.rc)
add_dependencies(corvane generated_resources)
target_include_directories(corvane PRIVATE ${generated})
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${generated} -I${CORVANE_ROOT}/resources")
corvane_warnings(corvane)
target_link_libraries(corvane PRIVATE corvane_win)
# Sections start on page boundaries in the file too: Wine then maps the
# program's code from the file (shared, and only the pages that run are
# read) instead of copying all of it into private memory at start. Windows
# maps the program either way.
target_link_options(corvane PRIVATE -Wl,--file-alignment,4096)
# Code nothing calls (unused inline and template copies, unreferenced parts
# of the static libraries) stays out of the shipped program.
target_link_options(corvane PRIVATE -Wl,--gc-sections)

# The skin gallery: every skinned control kind in its states on one form
# (tools/gallery); built and tested with the program, never shipped.
add_executable(skin_gallery WIN32 ${CORVANE_ROOT}/tools/gallery/SkinGallery.cpp
  ${CORVANE_ROOT}/tools/gallery/FieldGallery.cpp
  ${CORVANE_ROOT}/tools/gallery/RangeGallery.cpp ${CORVANE_ROOT}/tools/gallery/MenuGallery.cpp
  ${CORVANE_ROOT}/tools/gallery/TabGallery.cpp ${CORVANE_ROOT}/tools/gallery/BarGallery.cpp
  ${CORVANE_ROOT}/tools/gallery/MdiGallery.cpp
  ${CORVANE_ROOT}/resources/skin.rc)
add_dependencies(skin_gallery generated_resources)
corvane_warnings(skin_gallery)
target_include_directories(skin_gallery PRIVATE ${generated} ${CORVANE_ROOT}/resources)
target_link_libraries(skin_gallery PRIVATE corvane_win)

# The release package: stripped program, its symbols, readme and licences.
include(${CORVANE_ROOT}/cmake/Release.cmake)
