# The stored skin is generated, never committed: the art tool draws the
# pictures, the definition comes from resources/skin, and the packer joins
# them into the skin stream the program embeds and the tests read.
#
# corvane_stored_skin(<art> <pack> <out.skn> DEPENDS <deps...>) adds the
# target stored_skin and records the output path in the global property
# CORVANE_STORED_SKIN.
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
  add_custom_target(stored_skin ALL DEPENDS ${skn})
  set_property(GLOBAL PROPERTY CORVANE_STORED_SKIN ${skn})
endfunction()
