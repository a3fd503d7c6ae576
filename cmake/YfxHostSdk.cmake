# The plug-in module for the real host: yfx_filter_64.dll (x64) or
# yfx_filter.dll (Win32), built with Visual Studio against the host SDK's
# include/ and lib/<arch> (dzcore, QtCore4, QtGui4, QtScript4) and its Qt 4 moc.
#
# The decisions are functions that need no project, so that they also run in
# script mode (cmake -P; see tests/cmake/): where the SDK's parts are, which
# libraries a bit width links, whether a toolchain may build the module, and
# the module-definition file. yfx_add_host_sdk_module() puts them together
# into the module target, its installation and its package.

# The libraries of the SDK the module links, in lib/x64 or lib/Win32.
set(YFX_HOST_SDK_LIBRARIES dzcore QtCore4 QtGui4 QtScript4)

# yfx_host_sdk_layout(SDK_DIR POINTER_SIZE PREFIX): what the module builds
# against, for pointers of POINTER_SIZE bytes (8: x64, 4: Win32). Sets in the
# caller:
#   PREFIX_ERROR        empty when the layout is complete, else what is missing
#   PREFIX_ARCH         x64 or Win32
#   PREFIX_MODULE_NAME  yfx_filter_64 or yfx_filter
#   PREFIX_INCLUDE_DIR  SDK_DIR/include
#   PREFIX_LIBRARIES    the full paths of the libraries above
#   PREFIX_MOC          the SDK's moc.exe (bin/x64 or bin/Win32: its output is
#                       the same for both bit widths)
#   PREFIX_SDK_MEMORY   the SDK's dzsdkmemory library when this SDK revision
#                       has one, else empty
function(yfx_host_sdk_layout sdk_dir pointer_size prefix)
  if(pointer_size EQUAL 8)
    set(arch x64)
    set(module yfx_filter_64)
  elseif(pointer_size EQUAL 4)
    set(arch Win32)
    set(module yfx_filter)
  else()
    set(${prefix}_ERROR "the host SDK has libraries for 32-bit and 64-bit x86 only (pointers of ${pointer_size} bytes)" PARENT_SCOPE)
    return()
  endif()
  set(problems "")
  if(NOT EXISTS "${sdk_dir}/include/dzplugin.h" OR NOT EXISTS "${sdk_dir}/include/QtCore/qglobal.h")
    list(APPEND problems "no include/ with dzplugin.h and QtCore/qglobal.h")
  endif()
  set(libraries "")
  set(missing "")
  foreach(lib IN LISTS YFX_HOST_SDK_LIBRARIES)
    set(file "${sdk_dir}/lib/${arch}/${lib}.lib")
    if(EXISTS "${file}")
      list(APPEND libraries "${file}")
    else()
      list(APPEND missing "${lib}.lib")
    endif()
  endforeach()
  if(missing)
    list(JOIN missing ", " missing)
    list(APPEND problems "no ${missing} in lib/${arch}")
  endif()
  set(moc "")
  foreach(dir x64 Win32)
    if(NOT moc AND EXISTS "${sdk_dir}/bin/${dir}/moc.exe")
      set(moc "${sdk_dir}/bin/${dir}/moc.exe")
    endif()
  endforeach()
  if(NOT moc)
    list(APPEND problems "no moc.exe in bin/x64 or bin/Win32")
  endif()
  set(memory "")
  if(EXISTS "${sdk_dir}/lib/${arch}/dzsdkmemory.lib")
    set(memory "${sdk_dir}/lib/${arch}/dzsdkmemory.lib")
  endif()
  set(error "")
  if(problems)
    list(JOIN problems "; " problems)
    set(error "${sdk_dir} is not a host SDK for ${arch}: ${problems}")
  endif()
  set(${prefix}_ERROR "${error}" PARENT_SCOPE)
  set(${prefix}_ARCH ${arch} PARENT_SCOPE)
  set(${prefix}_MODULE_NAME ${module} PARENT_SCOPE)
  set(${prefix}_INCLUDE_DIR "${sdk_dir}/include" PARENT_SCOPE)
  set(${prefix}_LIBRARIES "${libraries}" PARENT_SCOPE)
  set(${prefix}_MOC "${moc}" PARENT_SCOPE)
  set(${prefix}_SDK_MEMORY "${memory}" PARENT_SCOPE)
endfunction()

# yfx_host_sdk_toolchain_error(OUT COMPILER_ID FRONTEND MSVC_VERSION SDK_MEMORY HEAP_ROUTING):
# sets OUT to why this compiler cannot build the module, or to empty when it
# can. COMPILER_ID and FRONTEND are CMake's CMAKE_CXX_COMPILER_ID and
# CMAKE_CXX_COMPILER_FRONTEND_VARIANT, MSVC_VERSION its MSVC_VERSION (the
# version clang-cl simulates for clang-cl); SDK_MEMORY says whether the SDK has
# dzsdkmemory, HEAP_ROUTING whether YFX_HOST_HEAP_ROUTING is on.
#
# The SDK's libraries are Visual Studio 2010 import libraries, and the host
# frees what a plug-in hands it (the nodes, meshes, materials and lights an
# import creates) with the Visual Studio 2010 runtime. The code needs C++17,
# which Visual Studio 2010 cannot compile, so a newer Visual Studio is used and
# the module must allocate those objects with the host's runtime.
function(yfx_host_sdk_toolchain_error out compiler_id frontend msvc_version sdk_memory heap_routing)
  set(${out} "" PARENT_SCOPE)
  if(compiler_id STREQUAL "MSVC" OR (compiler_id STREQUAL "Clang" AND frontend STREQUAL "MSVC"))
    if(msvc_version LESS 1914)
      set(${out} "the plug-in module needs C++17: Visual Studio 2017 15.7 or newer (MSVC_VERSION 1914), not ${msvc_version}. Use a newer Visual Studio with the x64 or Win32 platform." PARENT_SCOPE)
    elseif(NOT sdk_memory AND NOT heap_routing)
      set(${out} "this configuration would mix heaps: the host frees the objects an import hands it with the Visual Studio 2010 runtime (MSVCR100), and this Visual Studio (MSVC_VERSION ${msvc_version}) would allocate them with its own. Turn YFX_HOST_HEAP_ROUTING on (the module's operator new and delete then use the host's runtime), or use an SDK revision that has lib/<arch>/dzsdkmemory.lib." PARENT_SCOPE)
    endif()
  elseif(compiler_id STREQUAL "GNU" OR (compiler_id STREQUAL "Clang" AND NOT frontend STREQUAL "MSVC"))
    set(${out} "MinGW and other GNU-style compilers (${compiler_id}) cannot build the plug-in module: the host SDK's dzcore.lib and Qt 4 libraries are Visual Studio import libraries, with Visual Studio's name mangling, class layout and C runtime. Configure with Visual Studio (for example -G \"Visual Studio 17 2022\" -A x64 or -A Win32)." PARENT_SCOPE)
  else()
    set(${out} "the plug-in module is built with Visual Studio only, not ${compiler_id}: the host SDK's libraries are Visual Studio import libraries." PARENT_SCOPE)
  endif()
endfunction()

# yfx_host_sdk_write_def(FILE): the module-definition file that exports the
# host's two entry points under their plain names (the SDK's header declares
# them with C++ linkage, so without it the DLL would export decorated names,
# which the host does not look up).
function(yfx_host_sdk_write_def file)
  file(WRITE "${file}" "EXPORTS\n    getSDKVersion @1\n    getPluginDefinition @2\n")
endfunction()

# yfx_host_sdk_module_sources(SOURCE_DIR SDK_MEMORY SOURCES_OUT MOC_HEADERS_OUT):
# the sources of the module for the real host, and the headers its moc runs
# on. Every source of export/, import/ and plugin/, except the stand-in
# harness's entry point, and except the heap routing when the SDK's
# dzsdkmemory (SDK_MEMORY true) takes its place; the Q_OBJECT headers of
# plugin/.
function(yfx_host_sdk_module_sources src sdk_memory sources_out headers_out)
  # A configuration globs again when a file comes or goes; a script cannot.
  set(depends CONFIGURE_DEPENDS)
  if(CMAKE_SCRIPT_MODE_FILE)
    set(depends "")
  endif()
  file(GLOB sources ${depends} ${src}/export/*.cpp ${src}/import/*.cpp ${src}/plugin/*.cpp)
  list(REMOVE_ITEM sources ${src}/plugin/harness_entry.cpp)
  if(sdk_memory)
    list(REMOVE_ITEM sources ${src}/plugin/host_heap_win.cpp)
  endif()
  file(GLOB candidates ${depends} ${src}/plugin/*.h)
  set(headers "")
  foreach(header IN LISTS candidates)
    file(READ ${header} text)
    if(text MATCHES "Q_OBJECT")
      list(APPEND headers ${header})
    endif()
  endforeach()
  set(${sources_out} "${sources}" PARENT_SCOPE)
  set(${headers_out} "${headers}" PARENT_SCOPE)
endfunction()

# The SDK folder from YFX_HOST_SDK_DIR, or DAZ_SDK_DIR as the host's own
# samples call it (cache variable or environment), or empty.
function(yfx_host_sdk_dir out)
  set(dir "")
  if(YFX_HOST_SDK_DIR)
    set(dir "${YFX_HOST_SDK_DIR}")
  elseif(DAZ_SDK_DIR)
    set(dir "${DAZ_SDK_DIR}")
  elseif(DEFINED ENV{DAZ_SDK_DIR})
    set(dir "$ENV{DAZ_SDK_DIR}")
  endif()
  string(REPLACE "\\" "/" dir "${dir}")
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

# yfx_check_host_sdk_toolchain(SDK_DIR): fails the configuration, saying why
# and what to use, when SDK_DIR is not a host SDK for this bit width or this
# compiler cannot build the module for it.
function(yfx_check_host_sdk_toolchain sdk_dir)
  yfx_host_sdk_layout("${sdk_dir}" "${CMAKE_SIZEOF_VOID_P}" sdk)
  if(sdk_ERROR)
    message(FATAL_ERROR "YFX_HOST_SDK_DIR: ${sdk_ERROR}")
  endif()
  set(has_memory FALSE)
  if(sdk_SDK_MEMORY)
    set(has_memory TRUE)
  endif()
  set(routing FALSE)
  if(YFX_HOST_HEAP_ROUTING)
    set(routing TRUE)
  endif()
  yfx_host_sdk_toolchain_error(toolchain_error "${CMAKE_CXX_COMPILER_ID}"
                               "${CMAKE_CXX_COMPILER_FRONTEND_VARIANT}" "${MSVC_VERSION}"
                               ${has_memory} ${routing})
  if(toolchain_error AND YFX_HOST_SDK_CONFIGURE_ONLY)
    # For the tests on machines without Visual Studio: the configuration is
    # generated so that it can be inspected; it cannot be built.
    message(WARNING "YFX_HOST_SDK_DIR: ${toolchain_error} (YFX_HOST_SDK_CONFIGURE_ONLY: configuring anyway, do not build)")
  elseif(toolchain_error)
    message(FATAL_ERROR "YFX_HOST_SDK_DIR: ${toolchain_error}")
  endif()
endfunction()

# yfx_add_host_sdk_module(SDK_DIR): the module target for the real host, its
# installation into plugins/ and a ZIP package laid out as the host's folders
# (the caller includes CPack). yfx_check_host_sdk_toolchain has passed.
function(yfx_add_host_sdk_module sdk_dir)
  yfx_host_sdk_layout("${sdk_dir}" "${CMAKE_SIZEOF_VOID_P}" sdk)

  set(src ${PROJECT_SOURCE_DIR})
  set(has_memory FALSE)
  if(sdk_SDK_MEMORY)
    set(has_memory TRUE)
  endif()
  yfx_host_sdk_module_sources(${src} ${has_memory} sources headers)

  # The SDK's Qt 4 moc on every Q_OBJECT header; -f includes the header by
  # its project path, as the sources do.
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME_WE)
    file(RELATIVE_PATH relative ${src} ${header})
    set(out ${CMAKE_CURRENT_BINARY_DIR}/moc/moc_${name}.cpp)
    add_custom_command(OUTPUT ${out}
                       COMMAND "${sdk_MOC}" "-f${relative}" -o "${out}" "${relative}"
                       WORKING_DIRECTORY ${src}
                       DEPENDS ${header}
                       COMMENT "moc ${relative}")
    list(APPEND sources ${out})
  endforeach()

  set(def ${CMAKE_CURRENT_BINARY_DIR}/${sdk_MODULE_NAME}.def)
  yfx_host_sdk_write_def(${def})
  set(module ${sdk_MODULE_NAME})
  add_library(${module} MODULE ${sources} ${def})
  set_target_properties(${module} PROPERTIES PREFIX "" MSVC_RUNTIME_LIBRARY MultiThreadedDLL)
  target_include_directories(${module} PRIVATE ${src})
  target_include_directories(${module} SYSTEM PRIVATE "${sdk_INCLUDE_DIR}")
  target_compile_definitions(${module} PRIVATE QT_CORE_LIB QT_GUI_LIB QT_SCRIPT_LIB QT_DLL
                                                QT_NO_DEBUG UNICODE _UNICODE NOMINMAX)
  target_compile_options(${module} PRIVATE /permissive- /Zc:__cplusplus /EHsc)
  target_link_libraries(${module} PRIVATE yfx_core ${sdk_LIBRARIES} ${sdk_SDK_MEMORY})
  # Warnings are errors on the Linux builds; this build, which cannot be tried
  # there, shows them without failing on them.
  target_compile_options(${module} PRIVATE /W4)
  set_property(GLOBAL PROPERTY YFX_PLUGIN_MODULE ${module})

  # Installed and packaged as the host's folders: plugins/ holds the module.
  install(TARGETS ${module} LIBRARY DESTINATION plugins RUNTIME DESTINATION plugins)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/README.txt ${PROJECT_SOURCE_DIR}/LICENSE
          DESTINATION .)
  set(CPACK_GENERATOR ZIP PARENT_SCOPE)
  set(CPACK_PACKAGE_FILE_NAME "${module}-${PROJECT_VERSION}-${sdk_ARCH}" PARENT_SCOPE)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF PARENT_SCOPE)
endfunction()
