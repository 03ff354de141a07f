# Builds the installer, Quillmoor-Brevolt-<version>-x64-setup.exe, with NSIS
# (makensis) from packaging/installer.nsi. Run by the windows build (target
# `installer`) and by scripts/package, so both make it the same way:
#   cmake -DMAKENSIS=<makensis> -DSOURCE_DIR=<source tree> -DEXE=<Brevolt.exe>
#         -DVERSION=<x.y> -DOUTFILE=<setup.exe> -P make_installer.cmake
foreach(name MAKENSIS SOURCE_DIR EXE VERSION OUTFILE)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "make_installer: ${name} is not given")
  endif()
endforeach()

# A name the program and the script must agree on, read from its header.
function(read_wide_name header constant out)
  file(STRINGS "${SOURCE_DIR}/${header}" line REGEX "${constant}\\[\\] = L\"")
  string(REGEX REPLACE ".*L\"([^\"]+)\".*" "\\1" value "${line}")
  if(value STREQUAL "" OR value STREQUAL line)
    message(FATAL_ERROR "make_installer: no ${constant} in ${header}")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
read_wide_name(src/app/control_ids.h kMainClass main_class)
read_wide_name(src/app/exit_request.h kExitRequestMessageName exit_message)

# The version resource wants four numbers.
string(REPLACE "." ";" parts "${VERSION}")
list(LENGTH parts count)
while(count LESS 4)
  list(APPEND parts 0)
  math(EXPR count "${count} + 1")
endwhile()
list(JOIN parts "." version4)

get_filename_component(out_dir "${OUTFILE}" DIRECTORY)
file(MAKE_DIRECTORY "${out_dir}")
execute_process(
  COMMAND "${MAKENSIS}" -V2 -INPUTCHARSET UTF8 -NOCD
          "-DVERSION=${VERSION}" "-DVERSION4=${version4}" "-DEXE=${EXE}"
          "-DICON=${SOURCE_DIR}/src/app/resources/brevolt.ico" "-DOUTFILE=${OUTFILE}"
          "-DMAIN_CLASS=${main_class}" "-DEXIT_MESSAGE=${exit_message}"
          "${SOURCE_DIR}/packaging/installer.nsi"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTFILE}")
  message(FATAL_ERROR "make_installer: makensis failed (${result})")
endif()
