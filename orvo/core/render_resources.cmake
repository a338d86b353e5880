# Resources linked into Orvo.dll: the default scroll-bar strips (PNG 101, 102), drawn by the
# skin generator, and the private font (TTF 106), the Semibold face of Open Sans from Debian's
# fonts-open-sans package. Nothing of it is committed; everything is made here.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_file(ORVO_PRIVATE_FONT OpenSans-Semibold.ttf
          PATHS /usr/share/fonts/truetype/open-sans NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
set(orvo_resource_dir ${CMAKE_BINARY_DIR}/generated/orvo)
set(orvo_skin_generator ${PROJECT_SOURCE_DIR}/assets/skins/generate_skins.py)
set(orvo_resource_files
    ${orvo_resource_dir}/scroll_h_resource.png
    ${orvo_resource_dir}/scroll_v_resource.png
    ${orvo_resource_dir}/OpenSans-Semibold.ttf)
add_custom_command(
  OUTPUT ${orvo_resource_dir}/scroll_h_resource.png ${orvo_resource_dir}/scroll_v_resource.png
  COMMAND ${Python3_EXECUTABLE} ${orvo_skin_generator} --resources ${orvo_resource_dir}
          --svg ${orvo_resource_dir}/svg
  DEPENDS ${orvo_skin_generator}
  COMMENT "Rendering the toolkit's scroll-bar strips")
add_custom_command(
  OUTPUT ${orvo_resource_dir}/OpenSans-Semibold.ttf
  COMMAND ${CMAKE_COMMAND} -E copy ${ORVO_PRIVATE_FONT} ${orvo_resource_dir}/OpenSans-Semibold.ttf
  DEPENDS ${ORVO_PRIVATE_FONT}
  COMMENT "Copying the toolkit's private font")
add_custom_target(orvo_resources DEPENDS ${orvo_resource_files})
add_dependencies(Orvo orvo_resources)
target_sources(Orvo PRIVATE ${CMAKE_CURRENT_LIST_DIR}/orvo.rc)
target_include_directories(Orvo PRIVATE ${orvo_resource_dir})
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/orvo.rc TARGET_DIRECTORY Orvo
                            PROPERTIES OBJECT_DEPENDS "${orvo_resource_files}")
