# Writes THIRD-PARTY-NOTICES.txt: the licence text of every library linked
# into corvane.exe, copied from the library's own files, never retyped, so
# the notices change when a library's licence does.
#   cmake -DSOURCES=<cross-deps/src> -DMINGW_ROOT=/usr/x86_64-w64-mingw32
#         -DOUTPUT=<file> -P ThirdPartyNotices.cmake
foreach(var SOURCES MINGW_ROOT OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ThirdPartyNotices.cmake needs -D${var}=...")
  endif()
endforeach()

# The one source directory matching pattern under SOURCES.
function(source_tree out pattern)
  file(GLOB found LIST_DIRECTORIES true ${SOURCES}/${pattern})
  list(FILTER found EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
  list(LENGTH found count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "Expected one source tree ${SOURCES}/${pattern}, found: ${found}")
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(notices "Corvane.exe contains the following libraries. Their licences ask that these\n")
string(APPEND notices "notices go with every copy of the program.\n")

# Appends one library's notice: its name and version, then the text.
function(add_notice name origin text)
  if(text STREQUAL "")
    message(FATAL_ERROR "No licence text found for ${name} in ${origin}")
  endif()
  set(rule "===============================================================================")
  set(notices "${notices}\n\n${rule}\n${name}\n(from ${origin})\n${rule}\n\n${text}\n" PARENT_SCOPE)
endfunction()

function(file_text out path)
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "Licence file ${path} is missing")
  endif()
  file(READ ${path} text)
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# zlib states its licence at the top of zlib.h: the first comment.
file_text(zlib_header ${MINGW_ROOT}/include/zlib.h)
string(FIND "${zlib_header}" "*/" end)
string(SUBSTRING "${zlib_header}" 0 ${end} zlib_text)
string(REGEX REPLACE "^/\\* *" "" zlib_text "${zlib_text}")
string(REGEX MATCH "#define ZLIB_VERSION \"([^\"]+)\"" _ "${zlib_header}")
add_notice("zlib ${CMAKE_MATCH_1}" "zlib.h" "${zlib_text}")

source_tree(png "libpng*")
file_text(png_text ${png}/LICENSE)
get_filename_component(png_name ${png} NAME)
string(REGEX REPLACE "^libpng[0-9.]*-" "" png_version ${png_name})
add_notice("libpng ${png_version}" "LICENSE" "${png_text}")

source_tree(gif "giflib-*")
file_text(gif_text ${gif}/COPYING)
get_filename_component(gif_name ${gif} NAME)
string(REPLACE "giflib-" "" gif_version ${gif_name})
add_notice("giflib ${gif_version}" "COPYING" "${gif_text}")

# libjpeg-turbo: its licence summary, and the legal section of the original
# JPEG library's README that the summary refers to.
source_tree(jpeg "libjpeg-turbo-*")
file_text(jpeg_text ${jpeg}/LICENSE.md)
file_text(ijg_readme ${jpeg}/README.ijg)
string(REGEX MATCH "LEGAL ISSUES\n=+\n.*\n\n\nREFERENCES" ijg_legal "${ijg_readme}")
string(REGEX REPLACE "\n\n\nREFERENCES$" "" ijg_legal "${ijg_legal}")
get_filename_component(jpeg_name ${jpeg} NAME)
string(REPLACE "libjpeg-turbo-" "" jpeg_version ${jpeg_name})
add_notice("libjpeg-turbo ${jpeg_version}" "LICENSE.md and README.ijg"
           "${jpeg_text}\n\n\nFrom README.ijg:\n\n${ijg_legal}")

# The compiler's Windows runtime (C runtime start-up and the threads library)
# is linked statically too; its package's copyright file holds every licence
# of its parts.
set(runtime_copyright /usr/share/doc/mingw-w64-x86-64-dev/copyright)
file_text(runtime_text ${runtime_copyright})
add_notice("mingw-w64 runtime (C runtime and winpthreads)" "${runtime_copyright}" "${runtime_text}")

file(WRITE ${OUTPUT}.tmp "${notices}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
