# Install rules: the two libraries, their public headers, the NOTICE of the
# font converted into ostradll, the command-line tool, a CMake package
# (find_package(ostra) gives ostra::ostradll and ostra::brevodll) and a
# pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(OSTRA_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/ostra"
    CACHE STRING "Where the CMake package files are installed, relative to the prefix")

install(TARGETS brevodll ostradll
  EXPORT ostraTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The acknowledgements of the fonts converted into the library.
install(FILES "${PROJECT_SOURCE_DIR}/NOTICE" DESTINATION ${CMAKE_INSTALL_DOCDIR})

file(GLOB ostra_public_headers CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/include/ostra/*.h")
file(GLOB brevo_public_headers CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/geometry/brevo/*.h")
install(FILES ${ostra_public_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ostra)
install(FILES ${brevo_public_headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/brevo)

if(TARGET ostra)
  # The tool finds the libraries beside it in an installed tree.
  set_target_properties(ostra PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
  install(TARGETS ostra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(EXPORT ostraTargets
  NAMESPACE ostra::
  FILE ostraTargets.cmake
  DESTINATION ${OSTRA_INSTALL_CMAKEDIR})

configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/ostraConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/ostraConfig.cmake"
  INSTALL_DESTINATION ${OSTRA_INSTALL_CMAKEDIR})
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/ostraConfigVersion.cmake"
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  "${PROJECT_BINARY_DIR}/ostraConfig.cmake"
  "${PROJECT_BINARY_DIR}/ostraConfigVersion.cmake"
  DESTINATION ${OSTRA_INSTALL_CMAKEDIR})

# pkg-config wants absolute directories; GNUInstallDirs gives relative ones
# unless the user set absolute ones.
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(ostra_pc_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(ostra_pc_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
# The prefix is left as a placeholder here and filled in at install time.
set(ostra_pc_prefix "@ostra_pc_prefix@")
configure_file("${PROJECT_SOURCE_DIR}/cmake/ostra.pc.in" "${PROJECT_BINARY_DIR}/ostra.pc.in" @ONLY)
# The prefix is the one in force at install time (cmake --install --prefix).
install(CODE "
  file(READ \"${PROJECT_BINARY_DIR}/ostra.pc.in\" ostra_pc)
  string(REPLACE \"@ostra_pc_prefix@\" \"\${CMAKE_INSTALL_PREFIX}\" ostra_pc \"\${ostra_pc}\")
  file(WRITE \"${PROJECT_BINARY_DIR}/ostra.pc\" \"\${ostra_pc}\")
")
install(FILES "${PROJECT_BINARY_DIR}/ostra.pc" DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
