# Precompiled third-party and standard headers: GoogleTest for the test suites,
# Qt for the libraries and suites that build against it. Each header set is
# compiled once per build, in a holder target that has nothing else to build,
# and every target of the same kind reuses it. Only third-party and standard
# headers go in, so that editing our own headers never rebuilds a PCH, and
# every source still includes what it uses: a PCH only makes it faster.
#
# GCC takes a PCH only when it was made with the same code-generation options
# and macros as the source that uses it (CMake passes -Winvalid-pch, an error
# under our -Werror, so a mismatch stops the build instead of quietly parsing
# everything again). The holders therefore copy their users' flags: the test
# holders compile as executables' sources do (-fPIE), the Qt holders link Qt as
# their users do (Qt's defines and its -fPIC).

option(YFX_PRECOMPILE_HEADERS
       "Precompile GoogleTest, Qt and standard headers (speed only; OFF compiles every source from its own includes)"
       ON)

set(YFX_PCH_STD_HEADERS
    <algorithm> <array> <cmath> <cstddef> <cstdint> <cstdio> <cstdlib> <cstring> <functional>
    <limits> <map> <memory> <set> <string> <utility> <vector>)
# The test suites' extra standard headers (file and string streams, random engines).
set(YFX_PCH_TEST_STD_HEADERS <fstream> <random> <sstream>)
# The Qt headers the stand-in SDK's headers and most host-side sources pull in.
# nlohmann/json stays out: a PCH holding it costs every source that does not
# use it more than it saves the ones that do.
set(YFX_PCH_QT_HEADERS
    <QtCore/QDir> <QtCore/QFile> <QtCore/QFileInfo> <QtCore/QHash> <QtCore/QList>
    <QtCore/QMetaType> <QtCore/QObject> <QtCore/QPointer> <QtCore/QString> <QtCore/QStringList>
    <QtCore/QTemporaryDir> <QtCore/QVariant> <QtGui/QColor> <QtGui/QImage>
    <QtWidgets/QApplication> <QtWidgets/QDialog> <QtWidgets/QWidget> <QtScript/QScriptEngine>)
set(YFX_PCH_QT_TARGETS Qt5::Core Qt5::Gui Qt5::Widgets Qt5::Script)

# _yfx_pch_holder(NAME [PIE] LINK libs... HEADERS headers...): an object library
# that compiles HEADERS into a PCH with the usage requirements of LINK; PIE
# compiles it as executables' sources are compiled.
function(_yfx_pch_holder name)
  cmake_parse_arguments(ARG "PIE" "" "LINK;HEADERS" ${ARGN})
  set(empty_source ${PROJECT_BINARY_DIR}/yfx_pch_holder.cpp)
  file(CONFIGURE OUTPUT ${empty_source}
       CONTENT "// Nothing to compile: the target only holds a precompiled header.\n")
  add_library(${name} OBJECT ${empty_source})
  target_link_libraries(${name} PRIVATE ${ARG_LINK})
  if(ARG_PIE AND CMAKE_POSITION_INDEPENDENT_CODE)
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
    target_compile_options(${name} PRIVATE ${CMAKE_CXX_COMPILE_OPTIONS_PIE})
  endif()
  target_precompile_headers(${name} PRIVATE ${ARG_HEADERS})
endfunction()

# Whether any of the given libraries reaches Qt through its public links, that
# is, whether a target linking them compiles with Qt's flags. Links that carry
# no usage requirements ($<LINK_ONLY:...>) and non-targets are not followed.
function(_yfx_links_reach_qt out)
  set(pending ${ARGN})
  set(seen "")
  set(${out} FALSE PARENT_SCOPE)
  while(pending)
    list(POP_FRONT pending lib)
    if(NOT TARGET "${lib}" OR lib IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${lib})
    if(lib MATCHES "^Qt5::")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
    get_target_property(links ${lib} INTERFACE_LINK_LIBRARIES)
    if(links)
      list(APPEND pending ${links})
    endif()
  endwhile()
endfunction()

# yfx_add_test_pch_holders(): the test suites' PCHs: GoogleTest and the
# standard headers, and the same plus Qt for the suites built against Qt (made
# only when Qt is found). Call once, where GTest has been found, before the
# suites.
function(yfx_add_test_pch_holders)
  if(NOT YFX_PRECOMPILE_HEADERS)
    return()
  endif()
  set(headers <gtest/gtest.h> ${YFX_PCH_STD_HEADERS} ${YFX_PCH_TEST_STD_HEADERS})
  _yfx_pch_holder(yfx_pch_tests PIE LINK GTest::gtest HEADERS ${headers})
  if(TARGET Qt5::Core)
    _yfx_pch_holder(yfx_pch_tests_qt PIE LINK GTest::gtest ${YFX_PCH_QT_TARGETS}
                    HEADERS ${headers} ${YFX_PCH_QT_HEADERS})
  endif()
endfunction()

# yfx_precompile_test_headers(SUITE libs...): the suite reuses the test PCH that
# matches its flags, the one with Qt when the given libraries (all the suite
# links) bring Qt. A suite given Qt later, by a link not named here, would
# compile with Qt's -fPIC against the -fPIE PCH: GCC rejects that loudly.
function(yfx_precompile_test_headers suite)
  if(NOT TARGET yfx_pch_tests)
    return()
  endif()
  _yfx_links_reach_qt(uses_qt ${ARGN})
  if(uses_qt AND TARGET yfx_pch_tests_qt)
    target_precompile_headers(${suite} REUSE_FROM yfx_pch_tests_qt)
  elseif(NOT uses_qt)
    target_precompile_headers(${suite} REUSE_FROM yfx_pch_tests)
  endif()
endfunction()

# yfx_precompile_qt_headers(targets...): the libraries and modules built
# against Qt (position-independent code, Qt's defines) reuse one PCH of the Qt
# and standard headers. Targets that do not exist are skipped.
function(yfx_precompile_qt_headers)
  if(NOT YFX_PRECOMPILE_HEADERS)
    return()
  endif()
  set(holder yfx_pch_qt)
  foreach(target ${ARGN})
    if(NOT TARGET ${target})
      continue()
    endif()
    if(NOT TARGET ${holder})
      _yfx_pch_holder(${holder} LINK ${YFX_PCH_QT_TARGETS}
                      HEADERS ${YFX_PCH_STD_HEADERS} ${YFX_PCH_QT_HEADERS})
    endif()
    target_precompile_headers(${target} REUSE_FROM ${holder})
  endforeach()
endfunction()
