# The stored skin is generated, never committed: the art tool draws the
# pictures, the definition comes from resources/skin, and the packer joins
# them into the skin stream the program embeds and the tests read.
#
# Beside it, the same skin drawn at each display scale of CORVANE_SKIN_SCALES
# (as DPIs) is packed into stored-<dpi>.skn next to <out.skn>: the program
# carries these as resources of their own and draws from them at those
# scales instead of resampling the 100 % pictures.
#
# corvane_stored_skin(<art> <pack> <out.skn> DEPENDS <deps...>) adds the
# target stored_skin and records the output path in the global property
# CORVANE_STORED_SKIN.
set(CORVANE_SKIN_SCALES 120 144 168 192 240 288)
function(corvane_stored_skin art pack skn)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "" "DEPENDS")
  file(GLOB definitions CONFIGURE_DEPENDS ${CORVANE_ROOT}/resources/skin/*.ini)
  get_filename_component(outdir ${skn} DIRECTORY)
  set(work ${outdir}/stored-skin)
  add_custom_command(OUTPUT ${skn}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${work}
    COMMAND ${art} ${work}
    COMMAND ${CMAKE_COMMAND} -E copy ${definitions} ${work}
    COMMAND ${pack} pack ${work} ${skn}
    DEPENDS ${arg_DEPENDS} ${definitions}
    COMMENT "Drawing and packing the stored skin"
    VERBATIM)
  set(outputs ${skn})
  foreach(dpi ${CORVANE_SKIN_SCALES})
    set(scaled ${outdir}/stored-${dpi}.skn)
    set(scaledWork ${outdir}/stored-skin-${dpi})
    add_custom_command(OUTPUT ${scaled}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${scaledWork}
      COMMAND ${art} ${scaledWork} ${dpi}
      COMMAND ${CMAKE_COMMAND} -E copy ${definitions} ${scaledWork}
      COMMAND ${pack} pack ${scaledWork} ${scaled}
      DEPENDS ${arg_DEPENDS} ${definitions}
      COMMENT "Drawing and packing the stored skin at ${dpi} DPI"
      VERBATIM)
    list(APPEND outputs ${scaled})
  endforeach()
  add_custom_target(stored_skin ALL DEPENDS ${outputs})
  set_property(GLOBAL PROPERTY CORVANE_STORED_SKIN ${skn})
endfunction()
