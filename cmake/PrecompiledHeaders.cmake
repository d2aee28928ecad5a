# Precompiled headers, for the builds that repeat the reference build with other flags
# (scripts/test.sh's sanitizer build, scripts/package.sh). Most files include the same standard
# library, Qt and GoogleTest headers, and parsing them again for every file is much of what such
# a build costs. Each flavour of flags below compiles its headers once per build, in a target of
# its own (kfg_pch_<flavour>), and every target of ours reuses the flavour that matches what it
# links: kfg_precompile_headers() finds it at the end of the top-level CMakeLists.txt, so a new
# target needs no line of its own. GCC refuses a precompiled header made with other flags
# (-Winvalid-pch, an error with KFG_WERROR), so a wrong match cannot pass unnoticed.
#
# Off by default: a build without them compiles every file on its own, and so finds an include
# that is missing; scripts/test.sh's release build is such a build.
# GCC 12 also loses track of which code comes from system headers when it reads a precompiled
# header, so from -O2 on it warns there (-Warray-bounds, -Wstringop-overflow, -Wrestrict inside
# std::string), which the release build's warnings-as-errors would turn into failures.
# A target keeps out with set_target_properties(TARGET PROPERTIES KFG_PCH OFF).
option(KFG_PCH "Precompile the standard library, Qt and GoogleTest headers most files include" OFF)

set(kfg_pch_std_headers
  <algorithm> <array> <cerrno> <cstddef> <cstdint> <cstdio> <cstdlib> <filesystem> <functional>
  <map> <memory> <optional> <span> <string> <string_view> <system_error> <utility> <vector>)
set(kfg_pch_qt_core_headers <QByteArray> <QLoggingCategory> <QObject> <QString> <QStringList>)
set(kfg_pch_qt_widgets_headers
  <QAbstractButton> <QAbstractItemView> <QAccessible> <QApplication> <QCheckBox> <QComboBox>
  <QDialog> <QEventLoop> <QFontMetrics> <QGroupBox> <QIcon> <QKeyEvent> <QLabel> <QLineEdit>
  <QListWidget> <QMessageBox> <QPainter> <QPixmap> <QPushButton> <QRadioButton> <QStyle>
  <QToolButton> <QTreeWidget> <QVBoxLayout> <QWidget>)
set(kfg_pch_gtest_headers <gtest/gtest.h>)

# Each flavour: what its targets link besides kfg_warnings, and the headers it precompiles.
set(kfg_pch_flavours std std_gtest qt_core qt_widgets qt_widgets_gtest)
set(kfg_pch_std_links)
set(kfg_pch_std_gtest_links GTest::gtest)
set(kfg_pch_qt_core_links Qt6::Core)
set(kfg_pch_qt_widgets_links Qt6::Widgets)
set(kfg_pch_qt_widgets_gtest_links Qt6::Widgets GTest::gtest)
set(kfg_pch_std_contents ${kfg_pch_std_headers})
set(kfg_pch_std_gtest_contents ${kfg_pch_std_headers} ${kfg_pch_gtest_headers})
set(kfg_pch_qt_core_contents ${kfg_pch_std_headers} ${kfg_pch_qt_core_headers})
set(kfg_pch_qt_widgets_contents
  ${kfg_pch_std_headers} ${kfg_pch_qt_core_headers} ${kfg_pch_qt_widgets_headers})
set(kfg_pch_qt_widgets_gtest_contents ${kfg_pch_qt_widgets_contents} ${kfg_pch_gtest_headers})

# _kfg_compile_closure(TARGET OUT): the targets whose usage requirements (flags, definitions,
# include folders) TARGET compiles with: those it links, and what they pass on. What a static
# library links privately ($<LINK_ONLY:...>) reaches the link only, not the compile.
function(_kfg_compile_closure target out)
  set(seen)
  get_target_property(queue ${target} LINK_LIBRARIES)
  while(queue)
    list(POP_FRONT queue item)
    if(item IN_LIST seen OR NOT TARGET ${item})
      continue()
    endif()
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      list(APPEND queue ${aliased})
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(links ${item} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(link AND NOT link MATCHES "-NOTFOUND$|^\\$<LINK_ONLY:")
        list(APPEND queue ${link})
      endif()
    endforeach()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# _kfg_pch_flavour(TARGET OUT): the flavour whose flags TARGET compiles with, or "" for none.
function(_kfg_pch_flavour target out)
  set(${out} "" PARENT_SCOPE)
  _kfg_compile_closure(${target} closure)
  if(NOT kfg_warnings IN_LIST closure)
    return() # not ours: other warning flags make other predefined macros
  endif()
  get_target_property(options ${target} COMPILE_OPTIONS)
  get_target_property(type ${target} TYPE)
  if(Qt6::Widgets IN_LIST closure)
    set(flavour qt_widgets)
  elseif(Qt6::Gui IN_LIST closure)
    return() # Qt Gui without Widgets: one small program, not worth a flavour of its own
  elseif(Qt6::Core IN_LIST closure)
    set(flavour qt_core)
  elseif("-fPIC" IN_LIST options OR type MATCHES "^(MODULE|SHARED)_LIBRARY$")
    return() # position-independent code without Qt: the std header's flags differ
  else()
    set(flavour std)
  endif()
  if(GTest::gtest IN_LIST closure)
    if(flavour STREQUAL "qt_core")
      return()
    endif()
    set(flavour ${flavour}_gtest)
  endif()
  set(${out} ${flavour} PARENT_SCOPE)
endfunction()

function(_kfg_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    _kfg_targets_below(${subdir} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# kfg_precompile_headers(): gives every compiled target of the project the flavour it matches.
function(kfg_precompile_headers)
  if(NOT KFG_PCH)
    return()
  endif()
  _kfg_targets_below(${PROJECT_SOURCE_DIR} targets)
  set(anchor ${CMAKE_BINARY_DIR}/pch/pch_anchor.cpp)
  file(CONFIGURE OUTPUT ${anchor} CONTENT "// Compiles the precompiled headers of its target.\n")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(wanted ${target} KFG_PCH)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|MODULE_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$"
       OR (NOT wanted AND NOT wanted MATCHES "-NOTFOUND$"))
      continue()
    endif()
    _kfg_pch_flavour(${target} flavour)
    if(NOT flavour)
      continue()
    endif()
    set(provider kfg_pch_${flavour})
    if(NOT TARGET ${provider})
      add_library(${provider} OBJECT EXCLUDE_FROM_ALL ${anchor})
      target_link_libraries(${provider} PRIVATE kfg_warnings ${kfg_pch_${flavour}_links})
      target_precompile_headers(${provider} PRIVATE ${kfg_pch_${flavour}_contents})
    endif()
    target_precompile_headers(${target} REUSE_FROM ${provider})
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # GCC 12's false alarms inside std::string, which it shows only with a precompiled header
      # (see above); these warnings need -O2, so the release build still reports them.
      target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-restrict)
    endif()
    message(DEBUG "precompiled headers: ${target} uses ${flavour}")
  endforeach()
endfunction()
