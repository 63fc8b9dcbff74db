# Tests of the views, the application object and the modal dialog.
glimmer_add_test(framework_views_scroll_test
  SOURCES views_scroll_test.cpp
  LIBRARIES glimmer_framework glimmer_test_support)

glimmer_add_test(framework_views_dispatch_test
  SOURCES views_dispatch_test.cpp
  LIBRARIES glimmer_framework glimmer_test_support)

glimmer_add_test(framework_dialog_modal_test
  SOURCES dialog_modal_test.cpp dialog_test.rc
  LIBRARIES glimmer_framework glimmer_test_support
  TIMEOUT 120)

glimmer_add_test(framework_views_application_test
  SOURCES views_application_test.cpp dialog_test.rc
  LIBRARIES glimmer_framework glimmer_test_support
  TIMEOUT 120)
