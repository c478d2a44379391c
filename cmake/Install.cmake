# What an installation holds, and the Debian package made from it (CPack).
#
# Windows (the portable folder and the installer of scripts/package.sh): the
# three programs with help/ beside them. Linux: the programs in bin/, the
# help page in share/gleaner/help/, a menu entry and its icon.
include(GNUInstallDirs)

set(GLEANER_PROGRAMS "")
foreach(target gleaner_app gleaner-cli gleaner-sample-site)
  if(TARGET ${target})
    list(APPEND GLEANER_PROGRAMS ${target})
  endif()
endforeach()

if(WIN32)
  install(TARGETS ${GLEANER_PROGRAMS} RUNTIME DESTINATION .)
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
install(FILES ${PROJECT_SOURCE_DIR}/res/art/gleaner.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gleaner)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Gleaner <gleaner@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "采集 1688 与淘宝的商家、卖家和买家信息 (data collection for marketers)")
set(CPACK_PACKAGE_DESCRIPTION "Gleaner walks the result pages of the 1688 wholesale site and of Taobao,
cuts merchant, seller and buyer fields out of every page and lists them for
export to Excel or CSV. Includes the headless runner gleaner-cli and a local
sample site for trying it out.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # dependencies from the linked libraries
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
