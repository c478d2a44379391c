# The GUI tests: one binary that runs real windows inside a wx event loop,
# registered as one test under a virtual X server.
find_program(XVFB_RUN xvfb-run)
file(GLOB gui_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gui/*.cpp)
add_executable(test_gui ${gui_test_sources})
target_include_directories(test_gui PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/gui)
target_link_libraries(test_gui PRIVATE gleaner_ui gleaner_test_support GTest::gtest Threads::Threads)
if(TARGET gleaner_sample_site_lib)
  target_link_libraries(test_gui PRIVATE gleaner_sample_site_lib)
  target_compile_definitions(test_gui PRIVATE GLEANER_HAVE_SAMPLE_SITE=1)
endif()
# The store's kill test starts a window program of its own and kills it.
add_executable(gleaner_store_child ${CMAKE_CURRENT_SOURCE_DIR}/gui-child/StoreChild.cpp)
target_link_libraries(gleaner_store_child PRIVATE gleaner_ui)
gleaner_program_path(store_child gleaner_store_child)
# The second-instance test starts the real program; on Windows the resources
# of all three programs are read.
add_dependencies(test_gui gleaner_store_child gleaner_app gleaner-cli gleaner-sample-site)
if(WIN32)
  target_link_libraries(test_gui PRIVATE version)
endif()
gleaner_program_path(app gleaner_app)
target_compile_definitions(test_gui PRIVATE GLEANER_APP_PATH="${app}" GLEANER_STORE_CHILD_PATH="${store_child}"
                                            GLEANER_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
if(XVFB_RUN AND CMAKE_CROSSCOMPILING)
  # Under Wine: a server of its own that sees the virtual display, so alone.
  add_test(NAME gui COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24"
           ${CMAKE_CROSSCOMPILING_EMULATOR} --new-server $<TARGET_FILE:test_gui>)
  set_tests_properties(gui PROPERTIES TIMEOUT 900 RUN_SERIAL TRUE)
elseif(XVFB_RUN)
  add_test(NAME gui COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:test_gui>)
  set_tests_properties(gui PROPERTIES TIMEOUT 900)
endif()
