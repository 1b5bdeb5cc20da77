# Where `make install` and the package put the programs, the menu entry, the icons, the AppStream
# metadata and the manual pages (GNUInstallDirs: bin/, share/...).
include(GNUInstallDirs)
set(LOOMWISE_DATA ${PROJECT_SOURCE_DIR}/data)
set(LOOMWISE_ID org.loomwise.loomwise)

# loomwise_man_page(PROGRAM): the page built from data/man/PROGRAM.1.in, its options taken from the
# built program's own --help, installed compressed as man pages are.
function(loomwise_man_page program)
  set(page ${PROJECT_BINARY_DIR}/man/${program}.1)
  string(TIMESTAMP date "%Y-%m-%d" UTC)  # SOURCE_DATE_EPOCH, when set, fixes it
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${LOOMWISE_DATA}/man/help-to-man.sh $<TARGET_FILE:${program}> ${LOOMWISE_DATA}/man/${program}.1.in
            ${PROJECT_VERSION} ${date} ${page}
    COMMAND gzip -9nf ${page}
    DEPENDS ${program} ${LOOMWISE_DATA}/man/${program}.1.in ${LOOMWISE_DATA}/man/help-to-man.sh
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  add_custom_target(${program}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

install(TARGETS loomwise-record RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
loomwise_man_page(loomwise-record)

if(LOOMWISE_GUI)
  install(TARGETS loomwise RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  loomwise_man_page(loomwise)
  install(FILES ${LOOMWISE_DATA}/${LOOMWISE_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${LOOMWISE_DATA}/${LOOMWISE_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${LOOMWISE_DATA}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

  # The installed tree as a user gets it: installed into a scratch DESTDIR and checked with the
  # desktop's own validators.
  add_test(NAME InstalledTree
           COMMAND ${PROJECT_SOURCE_DIR}/tests/install/check-installed-tree.sh ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR}
                   ${PROJECT_VERSION} ${LOOMWISE_ID})
endif()
