# The first start on a machine without a display: the desktop program and
# scripts/start.sh, run as a user would.
gleaner_test(start LAYERS text LIBS gleaner_sample_site_lib gleaner_cli_lib)
if(TARGET test_start)
  add_dependencies(test_start gleaner_app gleaner-cli gleaner-sample-site)
  # start.sh runs the programs of <source>/build; elsewhere its sample run is skipped.
  cmake_path(COMPARE "${CMAKE_BINARY_DIR}" EQUAL "${PROJECT_SOURCE_DIR}/build" source_build)
  if(source_build)
    set(source_build 1)
  else()
    set(source_build 0)
  endif()
  target_compile_definitions(test_start PRIVATE GLEANER_APP_PATH="$<TARGET_FILE:gleaner_app>"
    GLEANER_CLI_PATH="$<TARGET_FILE:gleaner-cli>"
    GLEANER_SOURCE_DIR="${PROJECT_SOURCE_DIR}" GLEANER_BUILD_IS_SOURCE_BUILD=${source_build})
endif()
