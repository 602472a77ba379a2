# Build helpers shared by every folder.

# Links with lld when the compiler can use it: the tree has many libraries,
# plug-ins and tests to link, and lld links them faster than the default linker.
function(vireda_use_fast_linker)
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=lld VIREDA_HAS_LLD)
  if(VIREDA_HAS_LLD)
    add_link_options(-fuse-ld=lld)
  endif()
endfunction()

# Adds each listed folder that has a CMakeLists.txt.
function(vireda_add_subdirs)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# Adds every immediate sub-folder that has a CMakeLists.txt.
function(vireda_add_all_subdirs)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(dir ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${dir} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()

# A shared library of the ready-to-run tree, made of the .cpp/.ui/.qrc files of the current folder.
#   vireda_shared_library(Name LIBS <targets...>)
function(vireda_shared_library name)
  cmake_parse_arguments(A "" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
                                   ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  if(NOT srcs)
    message(STATUS "${name}: no sources yet")
    return()
  endif()
  add_library(${name} SHARED ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  set_target_properties(${name} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${VIREDA_DIST}
    CXX_VISIBILITY_PRESET default
    BUILD_RPATH "$ORIGIN"
    INSTALL_RPATH "$ORIGIN")
  install(TARGETS ${name} LIBRARY DESTINATION ${VIREDA_INSTALL_TREE})
endfunction()

# Every plug-in: a Qt plug-in (a module, no "lib" prefix) in Plugins_dll/<dir>,
# or elsewhere with OUTPUT (plug-ins built only for tests, not installed).
#   vireda_plugin(Name DIR Managers|Resources|Forms [OUTPUT <dir>] [CLASS <class>]
#                 SOURCES <files> [LIBS <targets>] [TS <prefix>-<Language>.ts ...])
# SOURCES are listed by name. LIBS are what the plug-in depends on besides
# interfaces/: shared libraries only, never another plug-in. TS are its texts in
# other languages (see vireda_translations). CLASS is the root class, the
# plug-in's name when not given.
function(vireda_plugin name)
  cmake_parse_arguments(A "" "DIR;OUTPUT;CLASS" "SOURCES;LIBS;TS" ${ARGN})
  if(NOT A_CLASS)
    set(A_CLASS ${name})
  endif()
  if(A_OUTPUT)
    set(out ${A_OUTPUT})
  else()
    set(out ${VIREDA_PLUGINS}/${A_DIR})
  endif()
  qt_add_plugin(${name} SHARED CLASS_NAME ${A_CLASS})
  target_sources(${name} PRIVATE ${A_SOURCES})
  target_link_libraries(${name} PRIVATE vireda_interfaces ${A_LIBS})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${out}
    BUILD_RPATH "$ORIGIN/../..;${VIREDA_DIST}"
    INSTALL_RPATH "$ORIGIN/../..")
  if(A_TS)
    vireda_translations(${name} TS ${A_TS})
  endif()
  if(NOT A_OUTPUT)
    install(TARGETS ${name} LIBRARY DESTINATION ${VIREDA_INSTALL_TREE}/Plugins_dll/${A_DIR})
  endif()
endfunction()

# A test-only plug-in in build/testplugins/<subdir>.
function(vireda_test_plugin name subdir)
  vireda_plugin(${name} OUTPUT ${VIREDA_TEST_PLUGINS}/${subdir} ${ARGN})
endfunction()

# One QtTest executable, run headless by ctest.
#   vireda_qtest(Name SOURCES ... LIBS ... [ENV VAR=value ...] [LABELS ...])
function(vireda_qtest name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test vireda_interfaces ${A_LIBS})
  target_compile_definitions(${name} PRIVATE
    VIREDA_DIST_DIR="${VIREDA_DIST}"
    VIREDA_TEST_PLUGIN_DIR="${VIREDA_TEST_PLUGINS}"
    VIREDA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VIREDA_TEST_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  set_target_properties(${name} PROPERTIES BUILD_RPATH "${VIREDA_DIST}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VIREDA_DIST=${VIREDA_DIST};FONTCONFIG_FILE=${CMAKE_SOURCE_DIR}/platform/testsupport/fonts.conf;${A_ENV}"
    TIMEOUT ${A_TIMEOUT}
    LABELS "${A_LABELS}")
  vireda_sanitizer_environment(${name})
endfunction()

# Under the sanitizers a test labelled "jvm" (it or a program it starts runs a
# Java VM in its process) gets options the VM can live with: the VM handles
# SIGSEGV itself and its memory is no leak of ours.
function(vireda_sanitizer_environment test)
  if(NOT VIREDA_SANITIZE)
    return()
  endif()
  get_test_property(${test} LABELS labels)
  if("jvm" IN_LIST labels)
    set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
      "ASAN_OPTIONS=detect_leaks=0:handle_segv=0:allow_user_segv_handler=1:abort_on_error=0:detect_stack_use_after_return=0")
  endif()
endfunction()

# Texts in other languages: each <prefix>-<Language>.ts becomes
# <dist>/Translations/<Language>/<prefix>-<Language>.qm, made before the target
# whose texts it holds; "release_translations" makes them all.
#   vireda_translations(<target> [FROM_DATA] TS <files>)
# FROM_DATA: the texts come from data files, not from the target's sources (a
# generator writes the .ts), so there is nothing for lupdate to update.
function(vireda_translations target)
  cmake_parse_arguments(A "FROM_DATA" "" "TS" ${ARGN})
  set(files)
  foreach(ts ${A_TS})
    get_filename_component(abs ${ts} ABSOLUTE)
    if(NOT abs MATCHES "-([^-/]+)\\.ts$")
      message(FATAL_ERROR "${ts}: a translation file is named <prefix>-<Language>.ts")
    endif()
    set_source_files_properties(${abs} PROPERTIES OUTPUT_LOCATION ${VIREDA_DIST}/Translations/${CMAKE_MATCH_1})
    list(APPEND files ${abs})
  endforeach()
  if(A_FROM_DATA)
    qt_add_lrelease(${target} TS_FILES ${files} OPTIONS -silent)
  else()
    qt_add_translations(${target} TS_FILES ${files} QM_FILES_OUTPUT_VARIABLE qm_files LRELEASE_OPTIONS -silent)
  endif()
endfunction()

# Qt's own texts (file dialogs, standard buttons) in a language, copied into
# that language's folder so that the program loads them with its own files.
#   vireda_qt_translations(LANGUAGE Deutsch LOCALE de)
function(vireda_qt_translations)
  cmake_parse_arguments(A "" "LANGUAGE;LOCALE" "" ${ARGN})
  if(TARGET Qt6::qmake)
    get_target_property(qmake Qt6::qmake IMPORTED_LOCATION)
  else()
    find_program(qmake NAMES qmake6 qmake REQUIRED)
  endif()
  execute_process(COMMAND ${qmake} -query QT_INSTALL_TRANSLATIONS
                  OUTPUT_VARIABLE qt_translations OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(outs)
  foreach(module qtbase qtmultimedia)
    set(source ${qt_translations}/${module}_${A_LOCALE}.qm)
    if(EXISTS ${source})
      set(qm ${VIREDA_DIST}/Translations/${A_LANGUAGE}/${module}_${A_LOCALE}.qm)
      add_custom_command(OUTPUT ${qm}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VIREDA_DIST}/Translations/${A_LANGUAGE}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${qm}
        DEPENDS ${source} VERBATIM)
      list(APPEND outs ${qm})
    else()
      message(WARNING "Qt's translations for ${A_LOCALE} are missing (${source}); run scripts/setup")
    endif()
  endforeach()
  add_custom_target(qt_translations_${A_LANGUAGE} ALL DEPENDS ${outs})
endfunction()
