# The fuzz targets and what each links, shared by the libFuzzer build
# (fuzz/CMakeLists.txt) and the corpus replay tests (tests/fuzz_replay.cmake).
# Every target links the JSON view of the model: the reader targets walk
# what they read through it.
set(VELDRANE_FUZZ_TARGETS em bl corvid830 pro traverse codes_dat domains_csv coordsys_csv)
# The reader targets are one source built once per reader family, with the
# extension of the scratch file it writes (".83" stands for ".27" too: one
# reader); each table loader has a source of its own.
set(VELDRANE_FUZZ_EXTENSION_em .em)
set(VELDRANE_FUZZ_EXTENSION_bl .bl)
set(VELDRANE_FUZZ_EXTENSION_corvid830 .830)
set(VELDRANE_FUZZ_EXTENSION_pro .pro)
set(VELDRANE_FUZZ_EXTENSION_traverse .83)
foreach(target ${VELDRANE_FUZZ_TARGETS})
  set(VELDRANE_FUZZ_LIBS_${target} veldrane_cli_support)
  if(VELDRANE_FUZZ_EXTENSION_${target})
    set(VELDRANE_FUZZ_SOURCE_${target} ${CMAKE_CURRENT_LIST_DIR}/fuzz_reader.cpp)
    set(VELDRANE_FUZZ_DEFINES_${target} VELDRANE_FUZZ_EXTENSION="${VELDRANE_FUZZ_EXTENSION_${target}}")
  else()
    set(VELDRANE_FUZZ_SOURCE_${target} ${CMAKE_CURRENT_LIST_DIR}/fuzz_${target}.cpp)
  endif()
endforeach()
