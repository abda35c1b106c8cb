# Every source folder is seen by a target only when the target declares it or
# links a library that publishes it. Each folder is reached through a link of
# its own under the build tree (build/folders/core_devices/core/devices points
# at core/devices), so the include path names exactly the declared folders and
# an include of any other folder fails to compile.
function(quellan_folder_root folder out)
  string(REPLACE "/" "_" key ${folder})
  set(root ${CMAKE_BINARY_DIR}/folders/${key})
  if(NOT EXISTS ${root}/${folder})
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder}
         SYMBOLIC)
  endif()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

function(quellan_include_folders target scope)
  foreach(folder IN LISTS ARGN)
    quellan_folder_root(${folder} root)
    target_include_directories(${target} ${scope} ${root})
  endforeach()
endfunction()
