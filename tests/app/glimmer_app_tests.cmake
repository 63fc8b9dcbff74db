# Tests of the main window, the batch runs, the About box and the program entry, with
# real windows under Wine. Each executable gets a drive of its own (letters s to v).
enable_language(RC)

set(glimmer_window_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/app_fixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_view.cpp
  ${GLIMMER_RESOURCE_SCRIPT}
)

glimmer_add_test(device_figures_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/device_figures_test.cpp
  LIBRARIES glimmer_app)

glimmer_add_test(main_window_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp ${glimmer_window_test_sources}
  LIBRARIES glimmer_app glimmer_test_support
  ENVIRONMENT GLIMMER_DRIVE=s:${CMAKE_CURRENT_BINARY_DIR}/drive-main-window
  TIMEOUT 600)

glimmer_add_test(about_dialog_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/about_dialog_test.cpp ${glimmer_window_test_sources}
  LIBRARIES glimmer_app glimmer_test_support
  ENVIRONMENT GLIMMER_DRIVE=t:${CMAKE_CURRENT_BINARY_DIR}/drive-about
  TIMEOUT 300)

glimmer_add_test(main_window_ja_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_ja_test.cpp ${glimmer_window_test_sources}
  LIBRARIES glimmer_app glimmer_test_support
  ENVIRONMENT GLIMMER_DRIVE=u:${CMAKE_CURRENT_BINARY_DIR}/drive-japanese
  TIMEOUT 300)
set_property(TEST main_window_ja_test APPEND PROPERTY ENVIRONMENT GLIMMER_LOCALE=ja_JP.UTF-8)

glimmer_add_test(program_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_test.cpp
  LIBRARIES user32
  ENVIRONMENT GLIMMER_DRIVE=v:${CMAKE_CURRENT_BINARY_DIR}/drive-program
  TIMEOUT 300)
target_compile_definitions(program_test PRIVATE GLIMMER_EXE="$<TARGET_FILE:glimmer>")
add_dependencies(program_test glimmer)

# The committed icons are exactly what their drawing script makes.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME icons_match_their_script
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make_icons.py --check
            ${PROJECT_SOURCE_DIR}/app/icons)
endif()
