# One helper to make a library from every source file of a folder, and one
# to make a GoogleTest program from every test file of a folder. New files
# are picked up at the next build without touching a CMakeLists.txt.
include(GoogleTest)

function(quillmoor_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
  else()
    add_library(${name} INTERFACE)
  endif()
  # Installed, the libraries' headers lie below the tab control's public
  # ones (see src/CMakeLists.txt).
  set(includes $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src> $<INSTALL_INTERFACE:${QUILLMOOR_INSTALL_IMPL_INCLUDEDIR}>)
  if(sources)
    target_include_directories(${name} PUBLIC ${includes})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    target_include_directories(${name} INTERFACE ${includes})
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# quillmoor_tests(<program> <folder> [RUN_APART <test>] <libraries>...):
# RUN_APART leaves a test out of the discovered list, for one that runs as
# an entry of its own with its own environment.
function(quillmoor_tests name dir)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "RUN_APART" "")
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${arg_UNPARSED_ARGUMENTS})
  set(filter "*")
  if(arg_RUN_APART)
    set(filter "-${arg_RUN_APART}")
  endif()
  # Windows test programs are listed at test time, inside the Wine session.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST TEST_FILTER "${filter}"
                       PROPERTIES TIMEOUT 120)
endfunction()
