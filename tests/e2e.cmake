# End-to-end tests: whole runs against the sample site, in-process and through
# the gleaner-cli program.
gleaner_test(e2e LAYERS text net extract engine
  LIBS gleaner_expected_rows gleaner_sample_site_lib gleaner_rules gleaner_cli_lib PkgConfig::HTTPLIB)
if(TARGET test_e2e)
  add_dependencies(test_e2e gleaner-cli)
  gleaner_program_path(cli gleaner-cli)
  target_compile_definitions(test_e2e PRIVATE GLEANER_CLI_PATH="${cli}")
endif()
