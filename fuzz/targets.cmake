# The fuzz targets and what each links, shared by the libFuzzer build
# (fuzz/CMakeLists.txt) and the corpus replay tests (tests/fuzz_replay.cmake).
set(VELDRANE_FUZZ_TARGETS em bl corvid830 pro traverse codes_dat domains_csv coordsys_csv dump_json)
foreach(target ${VELDRANE_FUZZ_TARGETS})
  set(VELDRANE_FUZZ_LIBS_${target} veldrane_core)
endforeach()
set(VELDRANE_FUZZ_LIBS_dump_json veldrane_cli_support)
