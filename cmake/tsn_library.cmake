# tsn_folder_library(): the static library of one src/ folder, which exports only its own headers.
#
# Each folder gets a directory of its own, ${CMAKE_BINARY_DIR}/include/<folder>/, holding
# one link <folder> -> src/<folder>, and the library gives that directory as its PUBLIC
# include directory. `#include "folder/file.h"` then finds a header only when the library
# (or a library it links, directly or through PUBLIC links) is that folder's, so the link
# graph is the layer graph and the compiler refuses an include that crosses it.
function(tsn_folder_library folder)
  set(target tsn_${folder})
  set(include_dir ${CMAKE_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${include_dir})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${include_dir}/${folder} SYMBOLIC)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${include_dir})
  set_property(GLOBAL APPEND PROPERTY TSN_FOLDER_LIBRARIES ${target})
endfunction()
