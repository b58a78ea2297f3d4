# The fuzz targets and what each links, shared by the libFuzzer build
# (fuzz/CMakeLists.txt) and the corpus replay tests (tests/fuzz_replay.cmake).
# Every target links the JSON view of the model: the reader targets walk
# what they read through it.
set(VELDRANE_FUZZ_TARGETS em bl corvid830 pro traverse codes_dat domains_csv coordsys_csv)
foreach(target ${VELDRANE_FUZZ_TARGETS})
  set(VELDRANE_FUZZ_LIBS_${target} veldrane_cli_support)
endforeach()
