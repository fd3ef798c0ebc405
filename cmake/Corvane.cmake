# Build helpers shared by the main project and the host-tools project.
#
# Each source folder lists its files with corvane_core_sources (portable: no
# Windows headers, compiled natively and for Windows) or
# corvane_windows_sources (the Windows half). The top level then makes the
# libraries from the collected lists.

function(corvane_core_sources)
  foreach(f IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY CORVANE_CORE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

function(corvane_windows_sources)
  foreach(f IN LISTS ARGN)
    set_property(GLOBAL APPEND PROPERTY CORVANE_WINDOWS_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${f})
  endforeach()
endfunction()

# For folders that mix both halves by name: every *.cpp is portable except
# those named Win*.cpp, which are the Windows half.
function(corvane_sources_by_name)
  file(GLOB portable CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} *.cpp)
  list(FILTER portable EXCLUDE REGEX "^Win")
  file(GLOB windows CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} Win*.cpp)
  corvane_core_sources(${portable})
  if(WIN32)
    corvane_windows_sources(${windows})
  endif()
endfunction()

# Warnings are errors on our own code only (third-party code is built apart).
function(corvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# The picture libraries: Debian's -dev packages natively; for Windows the
# static libraries our setup script cross-built into CORVANE_CROSS_PREFIX,
# plus Debian's mingw zlib.
function(corvane_picture_libraries out)
  if(WIN32)
    set(prefix ${CORVANE_CROSS_PREFIX})
    if(NOT EXISTS ${prefix}/lib/libgif.a)
      message(FATAL_ERROR "Cross-built picture libraries missing in ${prefix}: run scripts/setup.sh")
    endif()
    add_library(corvane_picture_libs INTERFACE)
    target_include_directories(corvane_picture_libs SYSTEM INTERFACE ${prefix}/include)
    target_link_libraries(corvane_picture_libs INTERFACE
      ${prefix}/lib/libpng16.a ${prefix}/lib/libgif.a ${prefix}/lib/libjpeg.a
      /usr/x86_64-w64-mingw32/lib/libz.a)
  else()
    find_package(PNG REQUIRED)
    find_package(GIF REQUIRED)
    find_package(JPEG REQUIRED)
    find_package(ZLIB REQUIRED)
    add_library(corvane_picture_libs INTERFACE)
    target_link_libraries(corvane_picture_libs INTERFACE PNG::PNG GIF::GIF JPEG::JPEG ZLIB::ZLIB)
  endif()
  set(${out} corvane_picture_libs PARENT_SCOPE)
endfunction()

# Makes one build of the portable core. extra_flags carries sanitizer or
# fuzzer instrumentation for the variants that need it.
function(corvane_make_core name extra_flags)
  get_property(sources GLOBAL PROPERTY CORVANE_CORE_SOURCES)
  add_library(${name} STATIC ${sources} ${CORVANE_ROOT}/cmake/empty.cpp)
  target_include_directories(${name} PUBLIC ${CORVANE_ROOT}/src)
  corvane_warnings(${name})
  if(extra_flags)
    target_compile_options(${name} PUBLIC ${extra_flags})
    target_link_options(${name} PUBLIC ${extra_flags})
  endif()
  target_link_libraries(${name} PUBLIC corvane_picture_libs)
endfunction()

# Adds every folder under src/ that has a CMakeLists.txt of its own.
macro(corvane_add_source_folders binary_root)
  file(GLOB_RECURSE _corvane_lists RELATIVE ${CORVANE_ROOT}/src CONFIGURE_DEPENDS
       ${CORVANE_ROOT}/src/*/CMakeLists.txt)
  list(SORT _corvane_lists)
  foreach(_list IN LISTS _corvane_lists)
    get_filename_component(_dir ${_list} DIRECTORY)
    add_subdirectory(${CORVANE_ROOT}/src/${_dir} ${binary_root}/src/${_dir})
  endforeach()
endmacro()
