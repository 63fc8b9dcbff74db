# Views, the application object and popups of the window class library; the main view's
# command bar comes from the Windows CE layer.
target_sources(glimmer_framework PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/application_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popup_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
)
target_link_libraries(glimmer_framework PUBLIC glimmer_platform)
