# The release package, what a Windows user downloads: one zip with the
# stripped program, its readme and the licences, and a second zip with the
# program's debug information for turning crash addresses into source lines.
# The files are made with every Windows build (target release_files, cheap);
# CPack zips them (scripts/release.sh, and the release test).
set(release_dir ${CMAKE_BINARY_DIR}/release)
file(MAKE_DIRECTORY ${release_dir})
if(NOT CMAKE_OBJCOPY)
  message(FATAL_ERROR "The release package needs the cross toolchain's objcopy")
endif()

# The debug information moves into Corvane.exe.debug; the shipped exe keeps
# only a debug link (file name and checksum), which debuggers and addr2line
# follow. The exe is renamed as users see it; its store and readme are named
# after it (Corvane.ini, Corvane.rtf).
add_custom_command(OUTPUT ${release_dir}/Corvane.exe ${release_dir}/Corvane.exe.debug
  COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:corvane> Corvane.exe.debug
  COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=Corvane.exe.debug
          $<TARGET_FILE:corvane> Corvane.exe
  DEPENDS corvane
  WORKING_DIRECTORY ${release_dir}
  COMMENT "Stripping Corvane.exe, its symbols into Corvane.exe.debug"
  VERBATIM)

# The readme is the README's "For Windows users" section, converted.
add_custom_command(OUTPUT ${release_dir}/Corvane.rtf
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C
          awk -v version=${CORVANE_VERSION} -v output=${release_dir}/Corvane.rtf
              -f ${CORVANE_ROOT}/scripts/readme-to-rtf.awk ${CORVANE_ROOT}/README.md
  DEPENDS ${CORVANE_ROOT}/README.md ${CORVANE_ROOT}/scripts/readme-to-rtf.awk
          ${CORVANE_ROOT}/resources/version.h
  COMMENT "Converting the README's section for Windows users into Corvane.rtf"
  VERBATIM)

add_custom_command(OUTPUT ${release_dir}/LICENSE.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CORVANE_ROOT}/LICENSE.txt ${release_dir}/LICENSE.txt
  DEPENDS ${CORVANE_ROOT}/LICENSE.txt
  VERBATIM)

# The licence texts of everything linked into the exe, from the libraries'
# own sources: the cross-built picture libraries' source trees, zlib's
# header and the Windows runtime's copyright file.
get_filename_component(cross_sources ${CORVANE_CROSS_PREFIX}/../src ABSOLUTE)
add_custom_command(OUTPUT ${release_dir}/THIRD-PARTY-NOTICES.txt
  COMMAND ${CMAKE_COMMAND} -DSOURCES=${cross_sources}
          -DMINGW_ROOT=${CMAKE_FIND_ROOT_PATH}
          -DOUTPUT=${release_dir}/THIRD-PARTY-NOTICES.txt
          -P ${CORVANE_ROOT}/cmake/ThirdPartyNotices.cmake
  DEPENDS ${CORVANE_ROOT}/cmake/ThirdPartyNotices.cmake ${CORVANE_CROSS_PREFIX}/lib/libgif.a
  COMMENT "Collecting the third-party licence notices"
  VERBATIM)

set(release_program_files ${release_dir}/Corvane.exe ${release_dir}/Corvane.rtf
    ${release_dir}/LICENSE.txt ${release_dir}/THIRD-PARTY-NOTICES.txt)
add_custom_target(release_files ALL
  DEPENDS ${release_program_files} ${release_dir}/Corvane.exe.debug)

install(FILES ${release_program_files} DESTINATION . COMPONENT program)
install(FILES ${release_dir}/Corvane.exe.debug DESTINATION . COMPONENT symbols)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "AK")
set(CPACK_PACKAGE_VERSION ${CORVANE_VERSION})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program symbols)
set(CPACK_ARCHIVE_PROGRAM_FILE_NAME corvane-${CORVANE_VERSION}-win64)
set(CPACK_ARCHIVE_SYMBOLS_FILE_NAME corvane-${CORVANE_VERSION}-win64-symbols)
# The files sit at the top of the zip: unzipping into a folder gives the
# program and its readme side by side.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_OUTPUT_FILE_PREFIX ${CORVANE_ROOT}/build)
set(CPACK_STRIP_FILES OFF)
include(CPack)
set(CORVANE_RELEASE_ZIP ${CORVANE_ROOT}/build/corvane-${CORVANE_VERSION}-win64.zip)
set(CORVANE_SYMBOLS_ZIP ${CORVANE_ROOT}/build/corvane-${CORVANE_VERSION}-win64-symbols.zip)
