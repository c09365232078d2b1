# Copies the shipped files beside the executables (run at build time).
if(EXISTS "${SRC}")
  file(COPY "${SRC}/" DESTINATION "${DST}")
endif()
