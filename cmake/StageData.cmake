# Copies the shipped configuration tables and projection files beside the
# binaries of the build tree. Run with -DSRC=<source dir> -DDST=<stage dir>.
file(MAKE_DIRECTORY ${DST}/coordsys)
file(GLOB tables ${SRC}/config/*.csv)
file(GLOB prjs ${SRC}/coordsys/*.prj)
if(tables)
  file(COPY ${tables} DESTINATION ${DST})
endif()
if(prjs)
  file(COPY ${prjs} DESTINATION ${DST}/coordsys)
endif()
