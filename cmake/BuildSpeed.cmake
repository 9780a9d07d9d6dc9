# SPDX-License-Identifier: GPL-3.0-or-later
# Quicker builds, where it is cheap and standard.
#
# ccache, when installed, remembers compiler runs: a second build of the same sources (a new
# clone, a new build folder, a branch switched back) takes its objects from the cache. Paths
# inside the checkout count relative to it, so clones in other folders share the cache; an
# object taken from the cache names the first clone's folder in its debug information. The
# precompiled headers below reach the compiler with -include, which ccache caches once it is
# told to leave their defines and time macros alone.
find_program(WEXAL_CCACHE ccache)
if(WEXAL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER
      ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
      CCACHE_SLOPPINESS=pch_defines,time_macros ${WEXAL_CCACHE})
endif()

# Precompiled headers, given out by what a target links, so that no folder's CMakeLists.txt
# needs to name them: the window library parses the Qt Widgets headers once, and every target
# that links it (the program, the window tests, the click benchmark) reuses that parse. Call
# wexal_precompile_headers() once, after every folder is added. (GoogleTest's header is left
# out: precompiled, g++ 12 reports its own false -Warray-bounds in libstdc++'s strings.)
# The presets switch this on; a plain configure, like tools/analyse.sh's, leaves it off, since
# clang-tidy cannot read the precompiled headers that g++ writes.
option(WEXAL_PRECOMPILE_HEADERS "Precompile the Qt headers of the window's targets" OFF)
set(WEXAL_QT_PRECOMPILED
    <QApplication> <QCheckBox> <QGroupBox> <QLabel> <QLineEdit> <QMessageBox> <QPainter>
    <QPushButton> <QRadioButton> <QScreen> <QString> <QWidget>)
set(WEXAL_QT_PRECOMPILING wexal_ui)

function(wexal_targets_below folder out)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS subfolders)
    wexal_targets_below(${subfolder} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(wexal_precompile_headers)
  if(NOT WEXAL_PRECOMPILE_HEADERS OR CMAKE_DISABLE_PRECOMPILE_HEADERS)
    return()
  endif()
  if(TARGET ${WEXAL_QT_PRECOMPILING})
    target_precompile_headers(${WEXAL_QT_PRECOMPILING} PRIVATE ${WEXAL_QT_PRECOMPILED})
  endif()
  wexal_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY)$" OR target STREQUAL WEXAL_QT_PRECOMPILING)
      continue()
    endif()
    get_target_property(links ${target} LINK_LIBRARIES)
    if(WEXAL_QT_PRECOMPILING IN_LIST links)
      target_precompile_headers(${target} REUSE_FROM ${WEXAL_QT_PRECOMPILING})
    endif()
  endforeach()
endfunction()
