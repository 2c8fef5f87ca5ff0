# Packs the release: cmake -DMANIFEST=FILE -DRELEASE=NAME -DDIST_DIR=DIR -DSTRIP=PROGRAM -P package.cmake
# Copies each file the manifest names to DIR/NAME/<its path in the release> (programs and DLLs
# without their debugging information), writes SHA256SUMS for them, and zips the folder as
# DIR/NAME.zip.
set(root ${DIST_DIR}/${RELEASE})
file(REMOVE_RECURSE ${root})
file(REMOVE ${DIST_DIR}/${RELEASE}.zip)
file(STRINGS ${MANIFEST} entries)
list(SORT entries)
set(sums "")
foreach(entry ${entries})
  string(REPLACE "\t" ";" fields "${entry}")
  list(GET fields 0 path)
  list(GET fields 1 source)
  get_filename_component(folder ${root}/${path} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${source} ${root}/${path})
  if(path MATCHES "\\.(exe|dll)$")
    execute_process(COMMAND ${STRIP} --strip-debug ${root}/${path} COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(SHA256 ${root}/${path} hash)
  string(APPEND sums "${hash}  ${path}\n")
endforeach()
file(WRITE ${root}/SHA256SUMS "${sums}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${RELEASE}.zip --format=zip ${RELEASE}
                WORKING_DIRECTORY ${DIST_DIR} COMMAND_ERROR_IS_FATAL ANY)
