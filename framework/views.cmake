# Views and popups of the window class library.
target_sources(glimmer_framework PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popup_view.cpp
)
