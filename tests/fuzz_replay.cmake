# Replays the committed fuzz corpora (seeds and minimized regression inputs)
# through the fuzz targets' entry points with the ordinary toolchain, one
# ctest test per target. With VELDRANE_SANITIZE=ON the replay runs under
# ASan/UBSan like the libFuzzer build.
include(${CMAKE_SOURCE_DIR}/fuzz/targets.cmake)
foreach(target ${VELDRANE_FUZZ_TARGETS})
  set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target})
  if(NOT IS_DIRECTORY ${corpus} OR NOT TARGET ${VELDRANE_FUZZ_LIBS_${target}})
    continue()
  endif()
  set(name veldrane_fuzz_replay_${target})
  add_executable(${name} ${CMAKE_SOURCE_DIR}/fuzz/fuzz_${target}.cpp ${CMAKE_SOURCE_DIR}/fuzz/fuzz_support.cpp
                         ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${VELDRANE_FUZZ_LIBS_${target}})
  add_test(NAME fuzz_replay.${target} COMMAND ${name} ${corpus})
  set_tests_properties(fuzz_replay.${target} PROPERTIES ENVIRONMENT
    "VELDRANE_SETTINGS=${CMAKE_CURRENT_BINARY_DIR}/no-settings.ini")
endforeach()
