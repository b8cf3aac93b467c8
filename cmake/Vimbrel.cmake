# Shared compile settings and the helpers every subsystem's CMakeLists uses.

add_library(vimbrel_options INTERFACE)
target_compile_options(vimbrel_options INTERFACE -Wall -Wextra -Wshadow)
# GCC 12 reports std::string concatenation at -O2 and above as an overlapping memcpy
# (a known false positive of its -Wrestrict); it would stop every -Werror build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(vimbrel_options INTERFACE -Wno-restrict)
endif()
if(VIMBREL_WERROR)
  target_compile_options(vimbrel_options INTERFACE -Werror)
endif()
target_include_directories(vimbrel_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
if(WIN32)
  # ANSI build: the program's texts and stored values are byte strings.
  target_compile_definitions(vimbrel_options INTERFACE
    WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00 WINVER=0x0A00 STRICT)
  target_link_options(vimbrel_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()
if(VIMBREL_SANITIZE)
  target_compile_options(vimbrel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(vimbrel_options INTERFACE -fsanitize=address,undefined)
endif()
if(VIMBREL_FUZZ)
  target_compile_options(vimbrel_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(vimbrel_options INTERFACE -fsanitize=address,undefined)
endif()

# vimbrel_portable_library(name SOURCES ... [DEPS ...])
# Portable logic of one subsystem: no <windows.h>, built by every toolchain.
function(vimbrel_portable_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC vimbrel_options ${ARG_DEPS})
endfunction()

# vimbrel_win32_library(name SOURCES ... [DEPS ...]): Win32 adapters, Windows builds only.
function(vimbrel_win32_library name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC vimbrel_options ${ARG_DEPS})
endfunction()

# vimbrel_unit_test(name SOURCES ... DEPS ...): a native GoogleTest suite, one ctest per test.
function(vimbrel_unit_test name)
  if(WIN32 OR NOT VIMBREL_UNIT_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE vimbrel_options ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)
endfunction()

# vimbrel_win32_test(name SOURCES ... DEPS ...): a GoogleTest suite run under Wine as one
# process (one Wine start per executable, not per test).
function(vimbrel_win32_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE vimbrel_options ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  if(NOT ARG_LABELS)
    set(ARG_LABELS win32)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600)
endfunction()

set(VIMBREL_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs as a test")

# vimbrel_fuzz_target(name SOURCES ... DEPS ...): a libFuzzer target (fuzz preset only).
function(vimbrel_fuzz_target name)
  if(NOT VIMBREL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE vimbrel_options ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  # Each target runs for a bounded time as a test. New inputs go to a scratch corpus under
  # the build folder; seeds, when the target has a corpus/<name> folder, are read from there.
  set(work ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${work})
  set(seeds)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
    set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  endif()
  add_test(NAME ${name}
    COMMAND ${name} -max_total_time=${VIMBREL_FUZZ_SECONDS} -rss_limit_mb=2048 -print_final_stats=1 ${work} ${seeds})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 900)
endfunction()

# libjpeg (IJG API of libjpeg-turbo): Debian's package natively, our static MinGW build
# (tools/build-deps) for Windows.
add_library(vimbrel_jpeg INTERFACE)
if(WIN32)
  set(_jpeg ${PROJECT_SOURCE_DIR}/build/deps/libjpeg-win64)
  if(NOT EXISTS ${_jpeg}/lib/libjpeg.a)
    message(FATAL_ERROR "libjpeg for win64 is missing: run tools/build-deps first")
  endif()
  target_include_directories(vimbrel_jpeg SYSTEM INTERFACE ${_jpeg}/include)
  target_link_libraries(vimbrel_jpeg INTERFACE ${_jpeg}/lib/libjpeg.a)
else()
  find_package(JPEG REQUIRED)
  target_link_libraries(vimbrel_jpeg INTERFACE JPEG::JPEG)
endif()

# libpng over zlib (reading PNG files, and the earlier writer) and libdeflate (writing
# them): Debian's packages natively, our static MinGW builds (tools/build-deps) for Windows.
add_library(vimbrel_png INTERFACE)
if(WIN32)
  set(_png ${PROJECT_SOURCE_DIR}/build/deps/libpng-win64)
  set(_zlib ${PROJECT_SOURCE_DIR}/build/deps/zlib-win64)
  set(_deflate ${PROJECT_SOURCE_DIR}/build/deps/libdeflate-win64)
  if(NOT EXISTS ${_png}/lib/libpng16.a OR NOT EXISTS ${_zlib}/lib/libz.a OR NOT EXISTS ${_deflate}/lib/libdeflate.a)
    message(FATAL_ERROR "libpng, zlib or libdeflate for win64 is missing: run tools/build-deps first")
  endif()
  target_include_directories(vimbrel_png SYSTEM INTERFACE ${_png}/include ${_zlib}/include ${_deflate}/include)
  target_link_libraries(vimbrel_png INTERFACE ${_png}/lib/libpng16.a ${_zlib}/lib/libz.a ${_deflate}/lib/libdeflate.a)
else()
  find_package(PNG REQUIRED)
  find_path(DEFLATE_INCLUDE_DIR libdeflate.h REQUIRED)
  find_library(DEFLATE_LIBRARY deflate REQUIRED)
  target_include_directories(vimbrel_png SYSTEM INTERFACE ${DEFLATE_INCLUDE_DIR})
  target_link_libraries(vimbrel_png INTERFACE PNG::PNG ${DEFLATE_LIBRARY})
endif()

# libsodium, for the strong enciphered files: Debian's package natively, our static MinGW
# build (tools/build-deps) for Windows.
add_library(vimbrel_sodium INTERFACE)
if(WIN32)
  set(_sodium ${PROJECT_SOURCE_DIR}/build/deps/libsodium-win64)
  if(NOT EXISTS ${_sodium}/lib/libsodium.a)
    message(FATAL_ERROR "libsodium for win64 is missing: run tools/build-deps first")
  endif()
  target_include_directories(vimbrel_sodium SYSTEM INTERFACE ${_sodium}/include)
  target_compile_definitions(vimbrel_sodium INTERFACE SODIUM_STATIC)
  # Its random numbers come from the system's RtlGenRandom in advapi32.
  target_link_libraries(vimbrel_sodium INTERFACE ${_sodium}/lib/libsodium.a advapi32)
else()
  find_path(SODIUM_INCLUDE_DIR sodium.h REQUIRED)
  find_library(SODIUM_LIBRARY sodium REQUIRED)
  target_include_directories(vimbrel_sodium SYSTEM INTERFACE ${SODIUM_INCLUDE_DIR})
  target_link_libraries(vimbrel_sodium INTERFACE ${SODIUM_LIBRARY})
endif()
