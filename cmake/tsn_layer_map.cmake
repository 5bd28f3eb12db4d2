# tsn_write_layer_map(<file>): for every folder library, the folders whose headers it may
# include (its own and those of every library it links, directly or through PUBLIC links),
# one line "folder allowed...", read by scripts/check-layers.sh.

# The tsn_ libraries named in the target's links (property LINK_LIBRARIES or
# INTERFACE_LINK_LIBRARIES) and, below each, those it hands on to what links it. PRIVATE
# links of a static library show in INTERFACE_LINK_LIBRARIES as $<LINK_ONLY:...> and carry
# no include directories, so they are left out.
function(tsn_link_closure target property out)
  set(result "")
  get_target_property(links ${target} ${property})
  if(links)
    foreach(lib IN LISTS links)
      if(lib MATCHES "^tsn_[a-z_]+$")
        tsn_link_closure(${lib} INTERFACE_LINK_LIBRARIES below)
        list(APPEND result ${lib} ${below})
      endif()
    endforeach()
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

function(tsn_write_layer_map file)
  get_property(libraries GLOBAL PROPERTY TSN_FOLDER_LIBRARIES)
  set(text "")
  foreach(target IN LISTS libraries)
    tsn_link_closure(${target} LINK_LIBRARIES linked)
    set(allowed ${target} ${linked})
    list(REMOVE_DUPLICATES allowed)
    list(TRANSFORM allowed REPLACE "^tsn_" "")
    list(JOIN allowed " " line)
    string(APPEND text "${line}\n")
  endforeach()
  file(WRITE ${file} "${text}")
endfunction()
