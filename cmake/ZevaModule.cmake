# Helpers that keep every folder's CMakeLists.txt a few lines long.

# Warning and sanitizer flags shared by every target of the project.
add_library(zeva_flags INTERFACE)
target_compile_options(zeva_flags INTERFACE -Wall -Wextra -Wpedantic
  $<$<BOOL:${ZEVA_WERROR}>:-Werror>)
if(ZEVA_SANITIZE)
  target_compile_options(zeva_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(zeva_flags INTERFACE -fsanitize=address,undefined)
endif()

# The stricter set the production code keeps clean (tests, benchmarks and fuzz
# harnesses are built with zeva_flags only): no silent narrowing of numbers,
# no float silently computed in double, no names hiding others, no C casts. GCC's meaning of the set; clang's
# -Wconversion also counts every signed index, so the clang fuzz build keeps
# zeva_flags alone.
add_library(zeva_strict_flags INTERFACE)
target_compile_options(zeva_strict_flags INTERFACE
  "$<$<CXX_COMPILER_ID:GNU>:-Wconversion;-Wshadow;-Wold-style-cast;-Wdouble-promotion>")

# zeva_add_module(name SOURCES a.cpp b.cpp DEPENDS zeva::other ...)
# Adds the static library zeva_<name> with the alias zeva::<name>. Headers are
# included from the project root, as "core/record/sounding.h".
function(zeva_add_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(zeva_${name} STATIC ${ARG_SOURCES})
  add_library(zeva::${name} ALIAS zeva_${name})
  target_include_directories(zeva_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_features(zeva_${name} PUBLIC cxx_std_20)
  target_link_libraries(zeva_${name} PUBLIC ${ARG_DEPENDS} PRIVATE zeva_flags zeva_strict_flags)
  # The Python module links the static modules into its shared object.
  if(ZEVA_BUILD_PYTHON)
    set_target_properties(zeva_${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  endif()
endfunction()

# zeva_add_executable(name SOURCES ... DEPENDS zeva::module ... [LIBRARIES ...])
# An executable over the modules it DEPENDS on (its allowed includes, as for
# a module) and other libraries.
function(zeva_add_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} ${ARG_LIBRARIES} zeva_flags
    zeva_strict_flags)
endfunction()

# zeva_add_test(name FOLDER dir DEPENDS ...) builds tests/<dir>/*_test.cpp into
# one executable, zeva_<name>_tests, discovered by CTest with the label "unit".
function(zeva_add_test name)
  cmake_parse_arguments(ARG "" "FOLDER" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}/*_test.cpp)
  set(target zeva_${name}_tests)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} zeva_test_support zeva_test_main
    zeva_flags)
  gtest_discover_tests(${target} PROPERTIES LABELS unit DISCOVERY_TIMEOUT 60)
endfunction()

# zeva_add_python_extension(SOURCES ... DEPENDS zeva::module ...) builds the
# Python module zeva (zeva.cpython-*.so) into build/python, beside its type
# stubs, and installs both into the system's dist-packages.
function(zeva_add_python_extension)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  pybind11_add_module(zeva_python_module MODULE NO_EXTRAS ${ARG_SOURCES})
  target_link_libraries(zeva_python_module PRIVATE ${ARG_DEPENDS} zeva_flags zeva_strict_flags)
  set_target_properties(zeva_python_module PROPERTIES OUTPUT_NAME zeva
    CXX_VISIBILITY_PRESET hidden LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/python)
  install(TARGETS zeva_python_module LIBRARY DESTINATION ${ZEVA_PYTHON_INSTALL_DIR})
  install(FILES ${PROJECT_SOURCE_DIR}/python/zeva.pyi DESTINATION ${ZEVA_PYTHON_INSTALL_DIR})
endfunction()
