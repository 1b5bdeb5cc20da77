# `make package`: a Debian package of the installed tree, its dependencies found by dpkg-shlibdeps.
set(LOOMWISE_MAINTAINER "Loomwise maintainers <maintainers@loomwise.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME loomwise)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LOOMWISE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugin at run time, so no linked library names its package.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack indents the extended description and turns its empty line into Debian's paragraph mark.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "cloth simulator that records its motion as Maya MEL scripts
Loomwise simulates a sheet of cloth hanging from three fixed nodes, moved
by stretch, shear and bend springs, gravity, damping and a gusting wind, and
shows it lit and shaded in an OpenGL view. Nine physical parameters can be
tuned while the cloth moves. The motion is recorded as two MEL scripts that
rebuild it in Maya as an animated NURBS surface.

The package holds the window, loomwise, and the headless recorder,
loomwise-record, for batch work without a display.")

# Debian wants the copyright and changelog of every package in its doc directory, compressed.
set(LOOMWISE_DOC ${CMAKE_INSTALL_DATADIR}/doc/loomwise)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/debian
  COMMAND ${CMAKE_COMMAND} -E copy ${LOOMWISE_DATA}/debian/changelog ${PROJECT_BINARY_DIR}/debian/changelog
  COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/debian/changelog
  DEPENDS ${LOOMWISE_DATA}/debian/changelog
  VERBATIM)
add_custom_target(package-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz)
install(FILES ${LOOMWISE_DATA}/debian/copyright ${PROJECT_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${LOOMWISE_DOC})

include(CPack)
