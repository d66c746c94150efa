# Build rules shared by every folder: warnings, sanitizers, and the two kinds of test.

set(VEMBROL_WARNINGS -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion)

if(VEMBROL_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VEMBROL_FUZZ AND NOT WIN32)
  # Coverage feedback from the libraries too, not only from the fuzz target's own file.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(WIN32)
  # Pin the Windows API level and keep <windows.h> lean; only common/win32/Win32.h includes it.
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)
  # One source, two architectures: the names the release folder, the manifests, objdump and
  # Wine use for the one this build makes.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(VEMBROL_ARCH x64)
    set(VEMBROL_MANIFEST_ARCH amd64)
    set(VEMBROL_OBJDUMP x86_64-w64-mingw32-objdump)
    set(VEMBROL_WINE_LOADER /usr/lib/wine/wine64)
  else()
    set(VEMBROL_ARCH x86)
    set(VEMBROL_MANIFEST_ARCH x86)
    set(VEMBROL_OBJDUMP i686-w64-mingw32-objdump)
    set(VEMBROL_WINE_LOADER /usr/lib/wine/wine)
  endif()
  # The same commit gives the same bytes: no link time stamp (the PE checksum follows it), and
  # no build or source folder inside the programs.
  add_link_options(-Wl,--no-insert-timestamp)
  # Optimised for size throughout, the libraries too: the static programs carry their runtime
  # and must stay small, and nothing in them is bound by the processor.
  set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  # The manifests name the architecture of the image they are linked into: Windows refuses to
  # start a program whose manifest asks for the common controls of another one.
  foreach(manifest Starter Uninstall)
    configure_file(${PROJECT_SOURCE_DIR}/resources/${manifest}.manifest.in
                   ${CMAKE_BINARY_DIR}/manifests/${manifest}.manifest @ONLY)
  endforeach()
  set(VEMBROL_MANIFEST_DIR ${CMAKE_BINARY_DIR}/manifests)
  set(VEMBROL_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run.sh)
  set(VEMBROL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${VEMBROL_WINE_RUN} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-session.sh.in ${CMAKE_BINARY_DIR}/wine-session.sh @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VEMBROL_WINE_RUN})
  # One prefix and one wineserver (and Xvfb when there is no display) for the whole ctest run.
  add_test(NAME wine.session.start COMMAND ${CMAKE_BINARY_DIR}/wine-session.sh start)
  add_test(NAME wine.session.stop COMMAND ${CMAKE_BINARY_DIR}/wine-session.sh stop)
  set_tests_properties(wine.session.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  set_tests_properties(wine.session.stop PROPERTIES FIXTURES_CLEANUP wine)
endif()

# vembrol_target_defaults(target): warnings for our own code.
function(vembrol_target_defaults target)
  target_compile_options(${target} PRIVATE ${VEMBROL_WARNINGS})
endfunction()

# vembrol_native_test(name SOURCES ... LIBS ...): a GoogleTest executable of portable code,
# each test case its own ctest entry. Only in the native build.
function(vembrol_native_test name)
  if(WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  vembrol_target_defaults(${name})
  include(GoogleTest)
  gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60)
endfunction()

# vembrol_win32_test(name SOURCES ... LIBS ... [TIMEOUT s]): a GoogleTest executable run under
# Wine as one ctest entry. Tests run one at a time (RESOURCE_LOCK) because they share the
# prefix's registry, desktop and tray.
function(vembrol_win32_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} vembrol_testsupport GTest::gtest_main)
  vembrol_target_defaults(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop
                       TIMEOUT ${T_TIMEOUT} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# vembrol_win32_path(out path): the Windows view (Wine's Z: drive) of a Linux path, for tests
# that must find built programs.
function(vembrol_win32_path out path)
  string(REPLACE "/" "\\\\" p "${path}")
  set(${out} "Z:${p}" PARENT_SCOPE)
endfunction()

# vembrol_fuzz_target(name SOURCES ... LIBS ... CORPUS dir): a libFuzzer target (clang builds
# with VEMBROL_FUZZ), plus a short smoke run over the committed seed corpus as a ctest entry.
function(vembrol_fuzz_target name)
  if(WIN32 OR NOT VEMBROL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  add_test(NAME ${name}.smoke
           COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                   sh -c "mkdir -p '${work}' && exec '$<TARGET_FILE:${name}>' -max_total_time=20 -timeout=10 '${work}' '${T_CORPUS}'")
  set_tests_properties(${name}.smoke PROPERTIES TIMEOUT 120)
endfunction()

# vembrol_benchmark(name SOURCES ... LIBS ...): a Google Benchmark executable of the native
# build. Benchmarks are run by hand (see README), never as timed tests.
function(vembrol_benchmark name)
  if(WIN32 OR NOT VEMBROL_BENCH OR VEMBROL_SANITIZE)
    return()
  endif()
  find_package(benchmark REQUIRED)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} benchmark::benchmark)
  vembrol_target_defaults(${name})
endfunction()
