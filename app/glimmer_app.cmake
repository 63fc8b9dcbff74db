# The main window, the About box, the batch runs (glimmer_app) and the program itself
# (glimmer.exe). Included from app/CMakeLists.txt on Windows builds.
enable_language(RC)

add_library(glimmer_app STATIC
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_figures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/device_info_source.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program.cpp
)
target_include_directories(glimmer_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(glimmer_app PUBLIC
  glimmer_shell glimmer_single_conversion glimmer_filelist glimmer_dialogs glimmer_framework
  glimmer_platform comctl32 user32 gdi32 kernel32)

# Every executable that shows the program's windows links these resources in; the
# script pulls in the icons, the manifest and the folder browser's templates.
set(GLIMMER_RESOURCE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/glimmer.rc CACHE INTERNAL "")
set_source_files_properties(${GLIMMER_RESOURCE_SCRIPT} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_CURRENT_LIST_DIR}/icons/glimmer.ico;${CMAKE_CURRENT_LIST_DIR}/icons/device.ico;${CMAKE_CURRENT_LIST_DIR}/icons/folder.ico;${CMAKE_CURRENT_LIST_DIR}/icons/folder_open.ico;${CMAKE_CURRENT_LIST_DIR}/glimmer.manifest;${CMAKE_CURRENT_LIST_DIR}/resource_ids.h;${PROJECT_SOURCE_DIR}/dialogs/dir_tree_dialog.rc")

add_executable(glimmer WIN32 ${CMAKE_CURRENT_LIST_DIR}/entry.cpp ${GLIMMER_RESOURCE_SCRIPT})
target_link_libraries(glimmer PRIVATE glimmer_app)
target_link_options(glimmer PRIVATE -municode)
