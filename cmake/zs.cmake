# Shared build rules: flags, and one helper per kind of target.

set(ZS_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(ZS_ROOT ${ZS_ROOT} ABSOLUTE)

# Texts are Windows-1252 at run time; sources stay UTF-8. clang knows no other
# execution character set, so the fuzz build keeps UTF-8 literals (harmless there).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(ZS_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=CP1252)
else()
  set(ZS_CHARSET_FLAGS)
endif()
set(ZS_WARNINGS -Wall -Wextra)

if(ZS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(ZS_BUILD_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Keep <windows.h> lean and the A functions the default.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

# Tests run where they can: natively, or cross-compiled with Wine as emulator.
# The i686 build compiles and links its tests but registers none (no 32-bit Wine here).
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(ZS_RUN_TESTS OFF)
else()
  set(ZS_RUN_TESTS ON)
endif()

# zs_library(NAME SOURCES... [LIBS ...]): a static library of this project.
function(zs_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PUBLIC ${ZS_ROOT})
  target_compile_options(${name} PRIVATE ${ZS_WARNINGS} ${ZS_CHARSET_FLAGS})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
endfunction()

# zs_test(NAME SOURCES... [LIBS ...] [POSIX_ONLY] [GUI]): a GoogleTest executable.
# Portable tests run natively and, in the win64 build, under Wine as well.
# GUI tests exist only on Windows and share one desktop: they never run in parallel.
function(zs_test name)
  cmake_parse_arguments(A "POSIX_ONLY;GUI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(A_POSIX_ONLY AND WIN32)
    return()
  endif()
  if(A_GUI AND NOT WIN32)
    return()
  endif()
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  add_executable(${name} ${A_SOURCES} ${A_UNPARSED_ARGUMENTS})
  target_include_directories(${name} PRIVATE ${ZS_ROOT})
  target_compile_options(${name} PRIVATE ${ZS_WARNINGS} ${ZS_CHARSET_FLAGS})
  target_link_libraries(${name} PRIVATE ${A_LIBS} zs_test_main)
  if(NOT ZS_RUN_TESTS)
    return()
  endif()
  set(props TIMEOUT ${A_TIMEOUT})
  if(A_GUI)
    list(APPEND props RESOURCE_LOCK x11desktop)
  endif()
  if(WIN32)
    set(prefix "wine.")
  else()
    set(prefix "")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       TEST_PREFIX "${prefix}" PROPERTIES ${props})
endfunction()

# zs_fuzz(NAME SOURCE [LIBS ...]): a libFuzzer target; ctest replays its seed corpus
# fuzz/corpus/NAME once per input.
function(zs_fuzz name source)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${ZS_ROOT})
  target_compile_options(${name} PRIVATE ${ZS_WARNINGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  add_test(NAME fuzz.${name}.corpus
           COMMAND ${name} -runs=0 ${ZS_ROOT}/fuzz/corpus/${name})
  set_tests_properties(fuzz.${name}.corpus PROPERTIES TIMEOUT 300)
endfunction()
