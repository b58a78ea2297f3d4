# Replays the fuzz seeds and the committed regression inputs through the
# fuzz targets' entry points with the ordinary toolchain, one ctest test per
# target. With VELDRANE_SANITIZE=ON the replay runs under ASan/UBSan like the
# libFuzzer build.
include(${CMAKE_SOURCE_DIR}/fuzz/targets.cmake)

set(VELDRANE_FUZZ_MUTATE_SECONDS 10 CACHE STRING "Seconds of mutated inputs each corpus replay test runs")

# The seeds are the sample files and shipped tables themselves, read where
# they live so a change to a sample is fuzzed and replayed as it stands.
set(VELDRANE_FUZZ_SEEDS_em
  samples/borrow_pit.em samples/channel_hydro.em samples/field_mistakes.em samples/levee.em samples/profile.em)
set(VELDRANE_FUZZ_SEEDS_bl samples/levee.bl)
set(VELDRANE_FUZZ_SEEDS_corvid830 samples/old_route.830)
set(VELDRANE_FUZZ_SEEDS_pro samples/centerline.pro)
set(VELDRANE_FUZZ_SEEDS_traverse samples/control.83)
set(VELDRANE_FUZZ_SEEDS_codes_dat samples/CODES.DAT)
set(VELDRANE_FUZZ_SEEDS_domains_csv config/DOMAINS.csv)
set(VELDRANE_FUZZ_SEEDS_coordsys_csv config/COORDSYS.csv)

foreach(target ${VELDRANE_FUZZ_TARGETS})
  if(NOT TARGET ${VELDRANE_FUZZ_LIBS_${target}})
    continue()
  endif()
  set(inputs "")
  foreach(seed ${VELDRANE_FUZZ_SEEDS_${target}})
    list(APPEND inputs ${CMAKE_SOURCE_DIR}/${seed})
  endforeach()
  # fuzz/corpus/<target>/ holds the inputs the fuzzer found; a target without
  # any has no folder (or an empty one, which the replay would refuse).
  set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${target})
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${corpus}/*)
  if(found)
    list(APPEND inputs ${corpus})
  endif()
  if(NOT inputs)
    continue()
  endif()
  set(name veldrane_fuzz_replay_${target})
  add_executable(${name} ${VELDRANE_FUZZ_SOURCE_${target}} ${CMAKE_SOURCE_DIR}/fuzz/fuzz_support.cpp
                         ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ${VELDRANE_FUZZ_DEFINES_${target}})
  target_link_libraries(${name} PRIVATE ${VELDRANE_FUZZ_LIBS_${target}})
  # After the replay, a short mutation pass from a fixed seed; an input that
  # fails is left in the build folder as fuzz-replay-<target>-last-input.
  add_test(NAME fuzz_replay.${target} COMMAND ${name} --mutate-seconds ${VELDRANE_FUZZ_MUTATE_SECONDS}
           --last-input ${CMAKE_CURRENT_BINARY_DIR}/fuzz-replay-${target}-last-input ${inputs})
  set_tests_properties(fuzz_replay.${target} PROPERTIES ENVIRONMENT
    "VELDRANE_SETTINGS=${CMAKE_CURRENT_BINARY_DIR}/no-settings.ini")
endforeach()
