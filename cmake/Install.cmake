# What an installation holds, and the Debian package made from it (CPack).
#
# Windows (the portable folder and the installer of scripts/package.sh): the
# three programs with help/ beside them. Linux: the programs in bin/, the
# help page in share/gleaner/help/, a menu entry and its icon, the manual
# pages, and the package's changelog and copyright.
include(GNUInstallDirs)

set(GLEANER_PROGRAMS "")
foreach(target gleaner_app gleaner-cli gleaner-sample-site)
  if(TARGET ${target})
    list(APPEND GLEANER_PROGRAMS ${target})
  endif()
endforeach()

if(WIN32)
  install(TARGETS ${GLEANER_PROGRAMS} RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/res/keywords-sample.txt DESTINATION .)
  if(EXISTS ${PROJECT_SOURCE_DIR}/help)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION help)
  endif()
  return()
endif()

install(TARGETS ${GLEANER_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(EXISTS ${PROJECT_SOURCE_DIR}/help)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/gleaner/help)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/res/linux/gleaner.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/keywords-sample.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/gleaner/examples)
install(FILES ${PROJECT_SOURCE_DIR}/res/art/gleaner.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# The manual pages and the package's changelog, compressed as Debian wants
# them (gzip -9n: the same bytes on every build), and its copyright.
if(NOT GLEANER_MAINTAINER)
  set(GLEANER_MAINTAINER "Gleaner <support@gleaner.example>")
endif()
configure_file(${PROJECT_SOURCE_DIR}/res/linux/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
set(packaged_docs "")
foreach(page gleaner gleaner-cli gleaner-sample-site)
  list(APPEND packaged_docs ${PROJECT_SOURCE_DIR}/res/linux/man/${page}.1)
endforeach()
set(compressed "")
foreach(source IN LISTS packaged_docs ITEMS ${CMAKE_BINARY_DIR}/package/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/${name}.gz
                     COMMAND sh -c "gzip -9nc '${source}' > '${CMAKE_BINARY_DIR}/package/${name}.gz'"
                     DEPENDS ${source} VERBATIM)
  list(APPEND compressed ${CMAKE_BINARY_DIR}/package/${name}.gz)
endforeach()
add_custom_target(gleaner_package_docs ALL DEPENDS ${compressed})
foreach(page gleaner gleaner-cli gleaner-sample-site)
  install(FILES ${CMAKE_BINARY_DIR}/package/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/package/changelog.gz ${PROJECT_SOURCE_DIR}/res/linux/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/gleaner)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gleaner)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${GLEANER_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "采集 1688 与淘宝的商家、卖家和买家信息 (data collection for marketers)")
set(CPACK_PACKAGE_DESCRIPTION "Gleaner walks the result pages of the 1688 wholesale site and of Taobao,
cuts merchant, seller and buyer fields out of every page and lists them for
export to Excel or CSV. Includes the headless runner gleaner-cli and a local
sample site for trying it out.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # dependencies from the linked libraries
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
# The toolkit's Chinese catalogue (its dialogs' own texts) and the opener of the user guide.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "wx3.2-i18n, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
