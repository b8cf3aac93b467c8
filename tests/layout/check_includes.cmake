# The layers of src/, checked from the sources' own #include lines:
#  - portable files (outside win32/ folders) include no Windows header;
#  - a subsystem's own logic includes only its own folder and subsystems below it;
#  - a command group (a file that includes the command kit, or another group) includes no
#    group of a subsystem above its own, and nothing of app/;
#  - nothing but app/ includes app/.
# Usage: cmake -DSRC=<path to src> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)

# Rank of each subsystem's own logic: a folder may include folders of a lower rank.
set(rank_util 0)
set(rank_workspace 1)
set(rank_crypto 2)
set(rank_desktop 2)
set(rank_capture 2)
set(rank_markup 2)
set(rank_vrx 3)
set(rank_mail 3)
set(rank_settings 3)
set(rank_settings_ui 4)
set(rank_print 4)  # the printers the settings choose
set(rank_commands 5)
set(rank_app 9)
# Rank of each subsystem's command group: a group may include groups of a lower rank.
set(group_workspace 6)
set(group_capture 7)
set(group_markup 7)
set(group_print 7)
set(group_crypto 7)
set(group_mail 8)  # mails enciphered copies with the key dialog
set(group_settings_ui 8)
# Group files that need no kit of their own.
set(groups capture/capture_hotkeys.h capture/capture_hotkeys.cpp)

set(windows_headers windows.h windowsx.h commctrl.h commdlg.h shellapi.h shlobj.h mmsystem.h ole2.h
    objbase.h oleauto.h winspool.h winuser.h wingdi.h mapi.h)

file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)

function(folder_of path out)
  string(REGEX MATCH "^[^/]+" f "${path}")
  set(${out} ${f} PARENT_SCOPE)
endfunction()

# Every file's project includes, and which files are command groups: those that include the
# kit, the sources of group headers, and the windows that include a group, found by
# repeating until nothing changes.
foreach(f ${files})
  file(STRINGS ${SRC}/${f} lines REGEX "^#include [<\"]")
  set(inc_${f})
  foreach(line ${lines})
    if(line MATCHES "^#include \"([^\"]+)\"")
      list(APPEND inc_${f} ${CMAKE_MATCH_1})
    elseif(line MATCHES "^#include <([^>]+)>")
      list(APPEND sys_${f} ${CMAKE_MATCH_1})
    endif()
  endforeach()
endforeach()
set(changed TRUE)
while(changed)
  set(changed FALSE)
  foreach(f ${files})
    folder_of(${f} folder)
    if(folder STREQUAL "commands" OR folder STREQUAL "app" OR f IN_LIST groups)
      continue()
    endif()
    foreach(i ${inc_${f}})
      folder_of(${i} ifolder)
      # Portable files belong to a group only through the kit itself, so that a subsystem's
      # own logic that includes a group is reported, not taken for a group.
      string(REGEX REPLACE "\\.cpp$" ".h" own_header "${f}")
      if(ifolder STREQUAL "commands" OR (i IN_LIST groups AND (f MATCHES "/win32/" OR i STREQUAL own_header)))
        list(APPEND groups ${f})
        set(changed TRUE)
        break()
      endif()
    endforeach()
  endforeach()
endwhile()

set(faults)
foreach(f ${files})
  folder_of(${f} folder)
  if(NOT DEFINED rank_${folder})
    list(APPEND faults "${f}: the folder ${folder} has no place in the layers")
    continue()
  endif()
  if(NOT f MATCHES "/win32/")
    foreach(s ${sys_${f}})
      string(TOLOWER "${s}" s)
      if(s IN_LIST windows_headers)
        list(APPEND faults "${f}: portable, but includes <${s}>")
      endif()
    endforeach()
  endif()
  set(is_group FALSE)
  if(f IN_LIST groups)
    set(is_group TRUE)
  endif()
  foreach(i ${inc_${f}})
    if(NOT EXISTS ${SRC}/${i})
      continue()  # generated headers (version.h) and headers of other projects
    endif()
    folder_of(${i} ifolder)
    if(ifolder STREQUAL folder AND NOT (i IN_LIST groups AND NOT is_group))
      continue()
    endif()
    if(ifolder STREQUAL "app" AND NOT folder STREQUAL "app")
      list(APPEND faults "${f}: includes ${i} of the composition root")
    elseif(i IN_LIST groups)
      if(NOT is_group AND NOT folder STREQUAL "app")
        list(APPEND faults "${f}: the subsystem's own logic includes the command group ${i}")
      elseif(is_group AND NOT ifolder STREQUAL folder AND NOT group_${ifolder} LESS group_${folder})
        list(APPEND faults "${f}: a group includes ${i}, a group of its own layer or above")
      endif()
    elseif(NOT is_group AND NOT rank_${ifolder} LESS rank_${folder})
      list(APPEND faults "${f}: includes ${i} of a layer that is not below it")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Include layers broken:\n  ${text}")
endif()
list(LENGTH files n)
list(LENGTH groups g)
message(STATUS "Include layers hold: ${n} files, ${g} of them command groups")
