# Imported targets for the dependencies: Debian's -dev packages natively, the static
# libraries the bootstrap built with mingw (under TAVIK_DEPS_PREFIX) for Windows.
set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

if(WIN32)
  if(NOT TAVIK_DEPS_PREFIX)
    message(FATAL_ERROR "TAVIK_DEPS_PREFIX must name the Windows dependencies (scripts/bootstrap.sh builds them)")
  endif()
  foreach(dep sqlite3 hidapi minizip)
    add_library(tavik::${dep} STATIC IMPORTED GLOBAL)
    set_target_properties(tavik::${dep} PROPERTIES
      IMPORTED_LOCATION ${TAVIK_DEPS_PREFIX}/lib/lib${dep}.a
      INTERFACE_INCLUDE_DIRECTORIES ${TAVIK_DEPS_PREFIX}/include)
  endforeach()
  set(ZLIB_USE_STATIC_LIBS ON)
  find_package(ZLIB REQUIRED)
  # Natively pkg-config puts the hidapi and minizip folders on the include path; match it.
  set_property(TARGET tavik::hidapi APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES
               ${TAVIK_DEPS_PREFIX}/include/hidapi)
  set_property(TARGET tavik::minizip APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES
               ${TAVIK_DEPS_PREFIX}/include/minizip)
  set_property(TARGET tavik::hidapi PROPERTY INTERFACE_LINK_LIBRARIES setupapi cfgmgr32)
  set_property(TARGET tavik::minizip PROPERTY INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
  if(TAVIK_BUILD_TESTS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${TAVIK_DEPS_PREFIX})
    find_package(GTest CONFIG REQUIRED PATHS ${TAVIK_DEPS_PREFIX} NO_DEFAULT_PATH)
  endif()
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TAVIK_SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
  pkg_check_modules(TAVIK_HIDAPI REQUIRED IMPORTED_TARGET hidapi-hidraw)
  pkg_check_modules(TAVIK_MINIZIP REQUIRED IMPORTED_TARGET minizip)
  add_library(tavik::sqlite3 ALIAS PkgConfig::TAVIK_SQLITE3)
  add_library(tavik::hidapi ALIAS PkgConfig::TAVIK_HIDAPI)
  add_library(tavik::minizip ALIAS PkgConfig::TAVIK_MINIZIP)
  if(TAVIK_BUILD_TESTS)
    find_package(GTest REQUIRED)
  endif()
endif()

if(TAVIK_BUILD_TESTS)
  include(GoogleTest)
endif()

# Adds one GoogleTest executable; its cases are listed when ctest runs (under Wine for
# the Windows tree, through CMAKE_CROSSCOMPILING_EMULATOR), so the build needs no Wine.
# SERIAL: its cases share something process-wide (the running program, the registry key)
# and never run beside another serial case. ALONE: its cases read the screen back and run
# with no other test beside them.
function(tavik_add_test name)
  cmake_parse_arguments(ARG "SERIAL;ALONE" "" "SOURCES;LIBS" ${ARGN})
  set(extra_properties)
  if(ARG_SERIAL)
    set(extra_properties RESOURCE_LOCK tavik_program)
  endif()
  if(ARG_ALONE)
    list(APPEND extra_properties RUN_SERIAL TRUE)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    TAVIK_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TAVIK_OUTPUT_DIR="${TAVIK_OUTPUT_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                       PROPERTIES LABELS ${name} ${extra_properties})
endfunction()
