# The Layout page's icons and preview bitmaps are drawn at build time by
# tools/picturegen. A cross build compiles the generator with the host's
# compiler, runs it, and has the DLL's resource script include the generated
# pictures.rc that names every picture file under its id.
find_program(VORNIK_HOST_CXX NAMES c++ g++ clang++ REQUIRED)

# vornik_generate_pictures(<target> <resource script> <generated folder>)
function(vornik_generate_pictures target resource_script generated_dir)
  set(tool_dir ${CMAKE_SOURCE_DIR}/tools/picturegen)
  file(GLOB sources CONFIGURE_DEPENDS ${tool_dir}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${tool_dir}/*.h)
  set(host_dir ${CMAKE_BINARY_DIR}/host)
  set(generator ${host_dir}/picturegen)
  add_custom_command(
    OUTPUT ${generator}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${host_dir}
    COMMAND ${VORNIK_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -ffp-contract=off
            -I${tool_dir} -I${CMAKE_SOURCE_DIR}/src ${sources} -o ${generator}
    DEPENDS ${sources} ${headers} ${CMAKE_SOURCE_DIR}/src/resources/resource_ids.h
    COMMENT "Building the picture generator with the host compiler"
    VERBATIM)

  set(pictures_rc ${generated_dir}/pictures.rc)
  add_custom_command(
    OUTPUT ${pictures_rc}
    COMMAND ${generator} ${generated_dir}/pictures --rc ${pictures_rc}
    DEPENDS ${generator}
    COMMENT "Drawing the Layout page's icons and preview bitmaps"
    VERBATIM)

  add_custom_target(${target}_pictures DEPENDS ${pictures_rc})
  add_dependencies(${target} ${target}_pictures)
  # A new generator draws new pictures: the resources are compiled again and
  # the DLL is linked again.
  set_property(SOURCE ${resource_script} APPEND PROPERTY OBJECT_DEPENDS ${pictures_rc})
endfunction()
