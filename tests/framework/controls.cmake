# Tests of the control wrappers (included by this directory's CMakeLists.txt).
glimmer_add_test(framework_controls_standard_test
  SOURCES controls_standard_test.cpp controls_soft_disable_test.cpp
  LIBRARIES glimmer_framework glimmer_test_support
  TIMEOUT 120)

glimmer_add_test(framework_controls_common_test
  SOURCES controls_common_test.cpp controls_menu_test.cpp
  LIBRARIES glimmer_framework glimmer_test_support
  ENVIRONMENT GLIMMER_DRIVE=k:${CMAKE_CURRENT_BINARY_DIR}/drive-controls
  TIMEOUT 120)

glimmer_add_test(framework_controls_notify_test
  SOURCES controls_notify_test.cpp
  LIBRARIES glimmer_framework glimmer_test_support
  TIMEOUT 120)
