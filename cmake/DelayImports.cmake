# Windows libraries that only some commands need are loaded when one of their functions is
# first called, not at start: a target linking `comdlg32` links this delay-load library of
# the same name instead. Under Wine, loading the common dialogs at start cost 14 to 25 ms
# (bench/start_memory.sh --trace shows the start's steps). The print spooler asks the
# printing system for every printer as it loads, and the common controls load the theme
# library with them: a second start, which only hands its command line on, needs neither.
# COM (ole32, with the RPC runtime under it) comes up only once the main window is made.
# A library whose first call cannot load it ends the program, as a missing import would
# at start; these are part of every Windows.
function(vimbrel_delay_import name dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${name}.a
                  OUTPUT_VARIABLE import_library OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND ${CMAKE_NM} ${import_library} OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_result)
  if(NOT nm_result EQUAL 0)
    message(FATAL_ERROR "The import library of ${dll} could not be read: ${import_library}")
  endif()
  string(REGEX MATCHALL " I __imp_[A-Za-z0-9_]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE " I __imp_" "")
  list(REMOVE_DUPLICATES imports)
  list(SORT imports)
  list(JOIN imports "\n" exports)
  set(dir ${CMAKE_BINARY_DIR}/delay-imports)
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/${name}.def "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${name}.def --dllname ${dll}
                          --output-delaylib ${dir}/lib${name}-delay.a
                  RESULT_VARIABLE dlltool_result)
  if(NOT dlltool_result EQUAL 0)
    message(FATAL_ERROR "The delay-load library of ${dll} could not be made")
  endif()
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${dir}/lib${name}-delay.a)
endfunction()

vimbrel_delay_import(comdlg32 comdlg32.dll)
vimbrel_delay_import(oleaut32 oleaut32.dll)
vimbrel_delay_import(winmm winmm.dll)
vimbrel_delay_import(winspool winspool.drv)
vimbrel_delay_import(comctl32 comctl32.dll)
vimbrel_delay_import(ole32 ole32.dll)
