# The layering check, run by ctest: every folder under src/ has a rank, and a
# file may include only headers of its own folder or of folders ranked below
# it. An include that runs up the order fails the check, unless the allow-list
# (cmake/layer-allow.txt) names that exact include with its reason.
#
#   cmake -DSRC=<repo>/src -DALLOW=<repo>/cmake/layer-allow.txt -P CheckLayers.cmake

cmake_policy(SET CMP0057 NEW)

# Lowest first.
set(layers
  core
  platform
  pictures
  framework
  skin/draw
  skin/data
  skin/forms
  skin/controls
  skin/manager
  components
  launcher)

function(layer_rank path out)
  set(best -1)
  set(best_len 0)
  set(rank 0)
  foreach(layer IN LISTS layers)
    string(LENGTH "${layer}/" len)
    string(SUBSTRING "${path}" 0 ${len} head)
    if(head STREQUAL "${layer}/" AND len GREATER best_len)
      set(best ${rank})
      set(best_len ${len})
    endif()
    math(EXPR rank "${rank} + 1")
  endforeach()
  set(${out} ${best} PARENT_SCOPE)
endfunction()

set(allowed "")
if(EXISTS "${ALLOW}")
  file(STRINGS "${ALLOW}" allow_lines)
  foreach(line IN LISTS allow_lines)
    if(line MATCHES "^([^# ]+) -> ([^# ]+)")
      list(APPEND allowed "${CMAKE_MATCH_1} -> ${CMAKE_MATCH_2}")
    endif()
  endforeach()
endif()

file(GLOB_RECURSE sources RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
set(failures 0)
set(used_allowances "")
foreach(file IN LISTS sources)
  layer_rank("${file}" from_rank)
  if(from_rank LESS 0)
    message(SEND_ERROR "layers: ${file} is in no ranked folder")
    math(EXPR failures "${failures} + 1")
    continue()
  endif()
  file(STRINGS "${SRC}/${file}" includes REGEX "^#include \"[^\"]+/[^\"]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    if(header MATCHES "^\\.\\./")
      continue()  # outside src/ (generated resources)
    endif()
    layer_rank("${header}" to_rank)
    if(to_rank LESS 0)
      message(SEND_ERROR "layers: ${file} includes ${header}, which is in no ranked folder")
      math(EXPR failures "${failures} + 1")
    elseif(to_rank GREATER from_rank)
      if("${file} -> ${header}" IN_LIST allowed)
        list(APPEND used_allowances "${file} -> ${header}")
      else()
        message(SEND_ERROR "layers: ${file} includes ${header}, which is above it")
        math(EXPR failures "${failures} + 1")
      endif()
    endif()
  endforeach()
endforeach()

# An allowance nobody needs any more goes, so the list only ever shrinks.
foreach(entry IN LISTS allowed)
  if(NOT entry IN_LIST used_allowances)
    message(SEND_ERROR "layers: the allowance '${entry}' is no longer needed: remove it")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()

list(LENGTH allowed allowance_count)
if(failures GREATER 0)
  message(FATAL_ERROR "layers: ${failures} problem(s)")
endif()
message(STATUS "layers: every include points down (${allowance_count} allowance(s))")
