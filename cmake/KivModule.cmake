# Every library folder is one module: a position-independent static library
# named kiv_<name>, built from the folder's *.cpp unless SOURCES are given.
# Tests link the modules they need, so a folder that does not build yet does
# not stop the tests of the others. kiv_core and libkiv.so are made from the
# objects of every module.
function(kiv_module name)
  cmake_parse_arguments(M "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT M_SOURCES)
    file(GLOB M_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  set(target kiv_${name})
  add_library(${target} STATIC ${M_SOURCES})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/api>)
  foreach(dep IN LISTS M_DEPS)
    target_link_libraries(${target} PUBLIC kiv_${dep})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY KIV_MODULES ${target})
endfunction()

# kiv_core (static) and kiv (shared, exporting only kiv_comp) from all modules.
function(kiv_finish_core)
  get_property(modules GLOBAL PROPERTY KIV_MODULES)
  set(objects "")
  foreach(m IN LISTS modules)
    list(APPEND objects $<TARGET_OBJECTS:${m}>)
  endforeach()
  if(NOT objects)
    file(WRITE ${PROJECT_BINARY_DIR}/kiv_empty.cpp "")
    set(objects ${PROJECT_BINARY_DIR}/kiv_empty.cpp)
  endif()
  add_library(kiv_core STATIC ${objects})
  add_library(kiv SHARED ${objects})
  foreach(t kiv_core kiv)
    target_include_directories(${t} PUBLIC
      $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
      $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/api>)
    target_link_libraries(${t} PUBLIC ${CMAKE_DL_LIBS})
  endforeach()
  set_target_properties(kiv PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
    LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/kiv.map)
  target_link_options(kiv PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/kiv.map)
endfunction()

# One GoogleTest executable per test folder, test_<name>, from the folder's
# *.cpp unless SOURCES are given; DEPS are module names.
function(kiv_test name)
  cmake_parse_arguments(T "" "" "SOURCES;DEPS;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    file(GLOB T_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  set(target test_${name})
  add_executable(${target} ${T_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  foreach(dep IN LISTS T_DEPS)
    target_link_libraries(${target} PRIVATE kiv_${dep})
  endforeach()
  target_link_libraries(${target} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "KIV_SOURCE_DIR=${PROJECT_SOURCE_DIR};KIV_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()
