# What `make install` puts on a Linux system (scripts/installation runs these rules). The native
# tree installs glimmer-convert, the glimmer launcher, the manual pages, the desktop entry with
# its start script and icons, and the demo device; the Windows tree installs glimmer.exe. The
# launcher and the start script find what they need relative to their own folder, so a DESTDIR
# staging works as the installed tree does.
include(GNUInstallDirs)

# glimmer.exe and the menu's start script: programs run by the launcher, not by people.
set(GLIMMER_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/glimmer)
set(GLIMMER_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/glimmer)

if(WIN32)
  if(TARGET glimmer)
    install(TARGETS glimmer RUNTIME DESTINATION ${GLIMMER_INSTALL_PROGRAM_DIR})
  endif()
  # The README of the Windows download (scripts/dist), with the line ends Notepad expects.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README-windows.txt.in
                 ${PROJECT_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
  return()
endif()

set(GLIMMER_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(GLIMMER_STAGE_DIR ${PROJECT_BINARY_DIR}/packaging)
set(GLIMMER_DEMO_DEVICE ${CMAKE_INSTALL_FULL_DATADIR}/glimmer/demo-device)
set(GLIMMER_INSTALLED_EXE ${CMAKE_INSTALL_FULL_LIBEXECDIR}/glimmer/glimmer.exe)
set(GLIMMER_MENU_START ${CMAKE_INSTALL_FULL_LIBEXECDIR}/glimmer/start-from-menu)
file(RELATIVE_PATH GLIMMER_LAUNCHER_FROM_HELPER ${CMAKE_INSTALL_FULL_LIBEXECDIR}/glimmer
     ${CMAKE_INSTALL_FULL_BINDIR}/glimmer)

# glimmer_launcher_place(CONTENT LINE PLACE): the launcher's line "LINE" pointing at PLACE,
# relative to the installed launcher's folder. A missing line is a configure error, not an
# installed launcher that looks into a build folder.
function(glimmer_launcher_place content line place)
  string(FIND "${${content}}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "scripts/glimmer has no line '${line}' to point at the installed tree")
  endif()
  file(RELATIVE_PATH relative ${CMAKE_INSTALL_FULL_BINDIR} ${place})
  string(REGEX REPLACE "=.*" "" name "${line}")
  string(REPLACE "\n${line}\n" "\n${name}=$here/${relative}\n" replaced "${${content}}")
  set(${content} "${replaced}" PARENT_SCOPE)
endfunction()

file(READ ${PROJECT_SOURCE_DIR}/scripts/glimmer launcher)
glimmer_launcher_place(launcher "exe=$here/../build/windows/app/glimmer.exe" ${GLIMMER_INSTALLED_EXE})
glimmer_launcher_place(launcher "demo=$here/../demo/device" ${GLIMMER_DEMO_DEVICE})
string(REPLACE "#   scripts/glimmer [" "#   glimmer [" launcher "${launcher}")
file(WRITE ${GLIMMER_STAGE_DIR}/glimmer "${launcher}")
file(CHMOD ${GLIMMER_STAGE_DIR}/glimmer PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/glimmer)

configure_file(${GLIMMER_PACKAGING_DIR}/glimmer-convert.1.in ${GLIMMER_STAGE_DIR}/glimmer-convert.1 @ONLY)
configure_file(${GLIMMER_PACKAGING_DIR}/glimmer.1.in ${GLIMMER_STAGE_DIR}/glimmer.1 @ONLY)
configure_file(${GLIMMER_PACKAGING_DIR}/start-from-menu.in ${GLIMMER_STAGE_DIR}/start-from-menu @ONLY)

# The desktop icon in the theme's sizes, from the drawing of the Windows icons.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(glimmer_theme_icons)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND glimmer_theme_icons ${GLIMMER_STAGE_DIR}/icons/hicolor/${size}x${size}/apps/glimmer.png)
endforeach()
add_custom_command(OUTPUT ${glimmer_theme_icons}
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/make_icons.py --theme ${GLIMMER_STAGE_DIR}/icons
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/make_icons.py
  COMMENT "Drawing the desktop icons")
add_custom_target(glimmer_theme_icons ALL DEPENDS ${glimmer_theme_icons})

# The desktop entry names the menu start by its absolute path, escaped as desktop entries need;
# scripts/installation writes it again for the PREFIX it installs into.
add_custom_command(OUTPUT ${GLIMMER_STAGE_DIR}/glimmer.desktop
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/scripts/desktop_entry.py
          ${GLIMMER_PACKAGING_DIR}/glimmer.desktop.in ${GLIMMER_MENU_START} ${GLIMMER_STAGE_DIR}/glimmer.desktop
  DEPENDS ${PROJECT_SOURCE_DIR}/scripts/desktop_entry.py ${GLIMMER_PACKAGING_DIR}/glimmer.desktop.in
  VERBATIM)
add_custom_target(glimmer_desktop_entry ALL DEPENDS ${GLIMMER_STAGE_DIR}/glimmer.desktop)

install(TARGETS glimmer-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${GLIMMER_STAGE_DIR}/glimmer DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${GLIMMER_STAGE_DIR}/start-from-menu DESTINATION ${GLIMMER_INSTALL_PROGRAM_DIR})
install(FILES ${GLIMMER_STAGE_DIR}/glimmer-convert.1 ${GLIMMER_STAGE_DIR}/glimmer.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${GLIMMER_STAGE_DIR}/glimmer.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${GLIMMER_STAGE_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/demo/device/ DESTINATION ${GLIMMER_INSTALL_DATA_DIR}/demo-device)
