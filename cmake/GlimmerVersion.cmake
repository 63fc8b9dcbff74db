# The version is named once, in project(); glimmer_version carries it to the programs and their
# resources as a header generated into the build tree.
set(GLIMMER_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/glimmer_version.h.in
               ${GLIMMER_GENERATED_DIR}/glimmer_version.h @ONLY)
add_library(glimmer_version INTERFACE)
target_include_directories(glimmer_version INTERFACE ${GLIMMER_GENERATED_DIR})
