# The built-in single-stroke font: converted at build time from the Hershey
# fonts of the Debian package hershey-fonts-data by fontgen (a program of
# this build) into a table compiled into ostradll, which then needs no font
# file when it runs. Sets ostra_fonttable to the generated source.
set(OSTRA_HERSHEY_DIR "/usr/share/hershey-fonts" CACHE PATH
    "The folder of the Hershey fonts (rowmans.jhf, greeks.jhf, cyrillic.jhf) of hershey-fonts-data")
set(ostra_font_files
  "${OSTRA_HERSHEY_DIR}/rowmans.jhf"
  "${OSTRA_HERSHEY_DIR}/greeks.jhf"
  "${OSTRA_HERSHEY_DIR}/cyrillic.jhf")
foreach(file IN LISTS ostra_font_files)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR
      "ostra: ${file} is missing. The built-in single-stroke font is converted from the Hershey "
      "fonts of the Debian package hershey-fonts-data: install it (apt-get install hershey-fonts-data, "
      "or bash .ci/setup tool), or set OSTRA_HERSHEY_DIR to the folder that holds rowmans.jhf, "
      "greeks.jhf and cyrillic.jhf.")
  endif()
endforeach()

add_executable(ostra_fontgen
  src/support/fontgen.cpp
  src/support/fontmarks.cpp
  src/support/fontparts.cpp)
target_include_directories(ostra_fontgen PRIVATE ${PROJECT_SOURCE_DIR}/src)
ostra_warnings(ostra_fontgen)

set(ostra_fonttable "${PROJECT_BINARY_DIR}/generated/fonttable.cpp")
add_custom_command(OUTPUT "${ostra_fonttable}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/generated"
  COMMAND ostra_fontgen "${ostra_fonttable}" ${ostra_font_files}
  DEPENDS ostra_fontgen ${ostra_font_files}
  COMMENT "Converting the Hershey fonts of hershey-fonts-data into the built-in font"
  VERBATIM)
