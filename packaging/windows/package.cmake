# Lays out the folder users unzip: listora.exe with every DLL and plugin it loads beside it.
set(stage ${OUT}/${NAME})
file(REMOVE_RECURSE ${stage} ${OUT}/${NAME}.zip)
file(MAKE_DIRECTORY ${stage})
file(COPY ${EXE} ${DLLS} DESTINATION ${stage})
foreach(plugin ${PLUGINS})
  get_filename_component(folder ${plugin} DIRECTORY)
  file(COPY ${QT_PLUGINS}/${plugin} DESTINATION ${stage}/${folder})
endforeach()
# Symbols are only for debugging in the build tree; MinGW's libstdc++ alone carries 20 MB of them.
file(GLOB_RECURSE binaries ${stage}/*.exe ${stage}/*.dll)
execute_process(COMMAND ${STRIP} --strip-unneeded ${binaries} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${NAME}.zip --format=zip ${NAME}
                WORKING_DIRECTORY ${OUT} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Wrote ${OUT}/${NAME}.zip")
