# Windows builds (the MinGW-w64 cross build of scripts/build-windows.sh).
#
# Included before the folders: programs and tests then run under Wine through
# scripts/wine-run.sh, which sets up the Wine prefix they need.
#
# gleaner_windows_resources(), called once every target exists, gives every
# executable the manifest (res/windows/gleaner.manifest), the three
# programs their icon and version resource as well, and the window programs
# the toolkit's Chinese catalogue; new programs and tests get theirs without
# an edit here.

enable_language(RC)

if(CMAKE_CROSSCOMPILING)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
endif()

set(GLEANER_MANIFEST ${PROJECT_SOURCE_DIR}/res/windows/gleaner.manifest)
set(GLEANER_ICON ${PROJECT_SOURCE_DIR}/res/art/gleaner.ico)

# The executables defined in dir and the folders below it.
function(_gleaner_executables dir out)
  set(found "")
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    _gleaner_executables(${sub} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(gleaner_windows_resources)
  # program target, file name, description (shown in Explorer's properties)
  set(programs
    "gleaner_app|gleaner|Gleaner 数据采集"
    "gleaner-cli|gleaner-cli|Gleaner 命令行采集"
    "gleaner-sample-site|gleaner-sample-site|Gleaner 示例网站")
  set(GLEANER_VERSION_PATCH ${PROJECT_VERSION_PATCH})
  if(NOT GLEANER_VERSION_PATCH)
    set(GLEANER_VERSION_PATCH 0)
  endif()
  set(done "")
  foreach(entry IN LISTS programs)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 target)
    list(GET fields 1 GLEANER_RC_NAME)
    list(GET fields 2 GLEANER_RC_DESCRIPTION)
    if(TARGET ${target})
      configure_file(${PROJECT_SOURCE_DIR}/res/windows/program.rc.in
                     ${CMAKE_BINARY_DIR}/res/${GLEANER_RC_NAME}.rc @ONLY)
      target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/res/${GLEANER_RC_NAME}.rc)
      set_source_files_properties(${CMAKE_BINARY_DIR}/res/${GLEANER_RC_NAME}.rc TARGET_DIRECTORY ${target}
                                  PROPERTIES OBJECT_DEPENDS "${GLEANER_MANIFEST};${GLEANER_ICON}")
      list(APPEND done ${target})
    endif()
  endforeach()

  configure_file(${PROJECT_SOURCE_DIR}/res/windows/manifest.rc.in ${CMAKE_BINARY_DIR}/res/manifest.rc @ONLY)
  _gleaner_executables(${PROJECT_SOURCE_DIR} executables)
  foreach(target IN LISTS executables)
    if(NOT target IN_LIST done)
      target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/res/manifest.rc)
      set_source_files_properties(${CMAKE_BINARY_DIR}/res/manifest.rc TARGET_DIRECTORY ${target}
                                  PROPERTIES OBJECT_DEPENDS "${GLEANER_MANIFEST}")
    endif()
  endforeach()

  # The window program has no console window.
  if(TARGET gleaner_app)
    set_target_properties(gleaner_app PROPERTIES WIN32_EXECUTABLE ON)
  endif()

  # The toolkit's Chinese catalogue, embedded in the programs with a window
  # (the one Debian ships for Linux: a catalogue is the same file everywhere).
  find_file(GLEANER_WX_CATALOGUE NAMES wxstd-3.2.mo wxstd.mo PATHS /usr/share/locale/zh_CN/LC_MESSAGES
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT GLEANER_WX_CATALOGUE)
    message(FATAL_ERROR "the toolkit's Chinese catalogue is missing: apt-get install wx3.2-i18n")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/res/windows/translations.rc.in ${CMAKE_BINARY_DIR}/res/translations.rc @ONLY)
  foreach(target gleaner_app test_gui gleaner_store_child)
    if(TARGET ${target})
      target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/res/translations.rc)
      set_source_files_properties(${CMAKE_BINARY_DIR}/res/translations.rc TARGET_DIRECTORY ${target}
                                  PROPERTIES OBJECT_DEPENDS "${GLEANER_WX_CATALOGUE}")
    endif()
  endforeach()
endfunction()
