# What "cmake --install" puts in the prefix besides the libraries and plug-ins
# (installed where they are made): the program, the files of the ready-to-run
# tree, the marker that makes the program run in the learner's own tree, and the
# desktop entry, metadata, icon and licence.

install(TARGETS vireda RUNTIME DESTINATION ${VIREDA_INSTALL_TREE})
install(DIRECTORY ${VIREDA_DIST}/Icons ${VIREDA_DIST}/docs ${VIREDA_DIST}/Translations
        DESTINATION ${VIREDA_INSTALL_TREE})
# The Java client, the jars it uses and its class-data archive.
install(DIRECTORY ${VIREDA_DIST}/ DESTINATION ${VIREDA_INSTALL_TREE}
        FILES_MATCHING PATTERN "*.jar" PATTERN "*.jsa"
        PATTERN "Content" EXCLUDE PATTERN "PeerData" EXCLUDE PATTERN "Plugins_dll" EXCLUDE
        PATTERN "plugins_dll" EXCLUDE PATTERN "Icons" EXCLUDE PATTERN "docs" EXCLUDE PATTERN "Docs" EXCLUDE
        PATTERN "Translations" EXCLUDE)

file(WRITE ${CMAKE_BINARY_DIR}/install/vireda-installed
     "This tree is installed: the program runs in the learner's own tree under the data folder.\n")
install(FILES ${CMAKE_BINARY_DIR}/install/vireda-installed DESTINATION ${VIREDA_INSTALL_TREE})

# The tree's two other names, and the program on the PATH.
install(CODE [[
  set(tree "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib/vireda")
  file(CREATE_LINK Plugins_dll "${tree}/plugins_dll" SYMBOLIC)
  file(CREATE_LINK docs "${tree}/Docs" SYMBOLIC)
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(CREATE_LINK ../lib/vireda/vireda "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/vireda" SYMBOLIC)
]])

set(desktop ${CMAKE_SOURCE_DIR}/shell/desktop)
configure_file(${desktop}/org.vireda.Vireda.metainfo.xml ${CMAKE_BINARY_DIR}/install/org.vireda.Vireda.metainfo.xml
               @ONLY)
install(FILES ${desktop}/org.vireda.Vireda.desktop DESTINATION share/applications)
install(FILES ${CMAKE_BINARY_DIR}/install/org.vireda.Vireda.metainfo.xml DESTINATION share/metainfo)
install(FILES ${desktop}/org.vireda.Vireda.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION share/doc/vireda)
