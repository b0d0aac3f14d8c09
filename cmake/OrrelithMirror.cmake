# Keeps `destination` a whole copy of the folder `source`, made again whenever a file it depends on (the
# arguments after `comment`) changes, through a target `target` built by default that `owner` waits for.
# The old copy goes first, so nothing deleted from the source lingers.
function(orrelith_mirror_folder target owner source destination comment)
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${destination}"
    COMMAND ${CMAKE_COMMAND} -E copy_directory "${source}" "${destination}"
    COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
    DEPENDS ${ARGN}
    COMMENT "${comment}")
  add_custom_target(${target} ALL DEPENDS "${stamp}")
  add_dependencies(${owner} ${target})
endfunction()
