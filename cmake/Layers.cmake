# gleaner_layer(<folder> [LAYERS <folder>...] [LIBS <libraries>...])
# Builds every .cpp of <folder> as the static library gleaner_<folder>,
# linked with the layers below it that it includes and the libraries it uses,
# so that whatever links a layer gets what that layer needs, and no more.
function(gleaner_layer folder)
  cmake_parse_arguments(L "" "" "LAYERS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(gleaner_${folder} STATIC ${sources})
  target_include_directories(gleaner_${folder} PUBLIC ${PROJECT_SOURCE_DIR})
  set_target_properties(gleaner_${folder} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  foreach(layer IN LISTS L_LAYERS)
    target_link_libraries(gleaner_${folder} PUBLIC gleaner_${layer})
  endforeach()
  if(L_LIBS)
    target_link_libraries(gleaner_${folder} PUBLIC ${L_LIBS})
  endif()
endfunction()
