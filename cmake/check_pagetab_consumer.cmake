# Builds the tab control's demo (examples/tab_demo) as another program
# would, with the MinGW-w64 toolchain file:
#   MODE=package       against the package installed from this build into a
#                      fresh prefix (find_package), checking that the package
#                      names nothing of this build or source tree;
#   MODE=subdirectory  in a project of its own that adds the Quillmoor
#                      source tree with add_subdirectory, which must bring the
#                      control and none of the program.
# In both, the demo must load comctl32 at its first call, not at start.
# cmake -DMODE=... -DSOURCE=... -DBINARY=... -DTOOLCHAIN=... -DGENERATOR=... -DOBJDUMP=... -DWORK=...
#       -P check_pagetab_consumer.cmake
cmake_minimum_required(VERSION 3.25)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(failed)
    message(FATAL_ERROR "${what} failed:\n${out}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(configure ${CMAKE_COMMAND} -G ${GENERATOR} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -Wno-dev)

if(MODE STREQUAL "package")
  set(prefix ${WORK}/prefix)
  run("installing the PageTab component" ${CMAKE_COMMAND} --install ${BINARY} --component PageTab --prefix ${prefix})
  file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/*)
  foreach(needed lib/cmake/QuillmoorPageTab/QuillmoorPageTabConfig.cmake
                 lib/cmake/QuillmoorPageTab/QuillmoorPageTabConfigVersion.cmake lib/libquill_pagetab.a
                 lib/libquillmoor_comctl32_delay.a include/quillmoor/pagetab/page_tab_window.h)
    if(NOT needed IN_LIST installed)
      message(FATAL_ERROR "${needed} was not installed; installed: ${installed}")
    endif()
  endforeach()
  # An installed package that points back into the tree it came from works
  # here and nowhere else.
  file(GLOB package_files ${prefix}/lib/cmake/QuillmoorPageTab/*.cmake)
  foreach(file IN LISTS package_files)
    file(READ ${file} text)
    foreach(tree ${SOURCE} ${BINARY})
      string(FIND "${text}" "${tree}" at)
      if(NOT at EQUAL -1)
        message(FATAL_ERROR "${file} names ${tree}")
      endif()
    endforeach()
  endforeach()
  run("configuring the demo against the package" ${configure} -S ${SOURCE}/examples/tab_demo -B ${WORK}/build
      -DCMAKE_BUILD_TYPE=MinSizeRel -DQuillmoorPageTab_DIR=${prefix}/lib/cmake/QuillmoorPageTab)
  # The demo compiled with the installed headers, not the source tree's.
  file(GLOB_RECURSE flag_files ${WORK}/build/CMakeFiles/*/flags.make)
  if(NOT flag_files)
    message(FATAL_ERROR "no compile flags found under ${WORK}/build")
  endif()
  foreach(file IN LISTS flag_files)
    file(READ ${file} text)
    string(FIND "${text}" "${SOURCE}/" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "the demo compiles with headers of the source tree (${file})")
    endif()
  endforeach()
elseif(MODE STREQUAL "subdirectory")
  file(WRITE ${WORK}/consumer/CMakeLists.txt
       "cmake_minimum_required(VERSION 3.25)\n"
       "project(PageTabConsumer LANGUAGES CXX)\n"
       "add_subdirectory(\"${SOURCE}\" quillmoor)\n"
       "add_subdirectory(\"${SOURCE}/examples/tab_demo\" tab_demo)\n"
       "foreach(program Brevolt quill_win32 win32_tests gtest)\n"
       "  if(TARGET \${program})\n"
       "    message(FATAL_ERROR \"adding the source tree brought \${program} along\")\n"
       "  endif()\n"
       "endforeach()\n")
  # No optimisation: this build only has to show that it links.
  run("configuring a project that adds the source tree" ${configure} -S ${WORK}/consumer -B ${WORK}/build
      -DCMAKE_BUILD_TYPE=)
else()
  message(FATAL_ERROR "MODE must be package or subdirectory")
endif()

run("building the demo" ${CMAKE_COMMAND} --build ${WORK}/build -j 2 --target tab_demo)
file(GLOB_RECURSE demo ${WORK}/build/tab_demo.exe)
if(NOT demo)
  message(FATAL_ERROR "no tab_demo.exe under ${WORK}/build")
endif()
# comctl32 is not a known DLL: the control's comes in at its first call,
# after the program has restricted the library search, not at start.
execute_process(COMMAND ${OBJDUMP} -p ${demo} OUTPUT_VARIABLE header RESULT_VARIABLE failed)
string(TOLOWER "${header}" header)
if(failed OR NOT header MATCHES "dll name: user32.dll")
  message(FATAL_ERROR "${OBJDUMP} could not read the imports of ${demo}")
endif()
if(header MATCHES "dll name: comctl32")
  message(FATAL_ERROR "${demo} imports comctl32 at start")
endif()
file(SIZE ${demo} size)
message(STATUS "${MODE}: built ${demo} (${size} bytes)")
file(REMOVE_RECURSE ${WORK})
