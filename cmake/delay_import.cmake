# Makes a delay-load import library from a MinGW import library: the same
# functions, but the DLL is loaded at the first call instead of before the
# program's first line runs.
# cmake -DNM=... -DDLLTOOL=... -DIMPLIB=... -DDLL=... -DOUT=... -P delay_import.cmake
execute_process(COMMAND ${NM} ${IMPLIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not read ${IMPLIB}")
endif()
string(REGEX MATCHALL " I __imp_[A-Za-z0-9_]+" imports "${symbols}")
list(TRANSFORM imports REPLACE " I __imp_" "")
list(REMOVE_DUPLICATES imports)
list(SORT imports)
list(JOIN imports "\n" exports)
get_filename_component(folder ${OUT} DIRECTORY)
file(WRITE ${folder}/${DLL}.def "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
execute_process(COMMAND ${DLLTOOL} --input-def ${folder}/${DLL}.def --dllname ${DLL} --output-delaylib ${OUT}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${DLLTOOL} could not make ${OUT}")
endif()
