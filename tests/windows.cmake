# Windows programs built beside this build with mingw-w64 and run under Wine, so that every ctest
# sees the Windows code too: the standard-library layers with their unit tests, against Wine's
# registry; and, once Qt for Windows has been built (scripts/windows, scripts/test), the whole
# program and its installer, which the end-to-end tests install and drive.
find_program(KESTROVA_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(KESTROVA_WINE64 wine64 PATHS /usr/lib/wine)
if(NOT KESTROVA_MINGW_CXX OR NOT KESTROVA_WINE64 OR NOT EXISTS /usr/src/googletest/CMakeLists.txt)
  message(STATUS "mingw-w64 or wine64 missing: the Windows programs are not built or tested")
  return()
endif()
include(ExternalProject)

# Each by its own preset; their ninja, run at every build, rebuilds what changed.
ExternalProject_Add(kestrova_windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/windows
  CONFIGURE_COMMAND ${CMAKE_COMMAND} --preset windows -S <SOURCE_DIR> -B <BINARY_DIR>
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")
ExternalProject_Add_StepDependencies(kestrova_windows configure
  ${PROJECT_SOURCE_DIR}/CMakePresets.json)
add_test(NAME windows.under_wine
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/under_wine.sh ${CMAKE_BINARY_DIR}/windows)
set_tests_properties(windows.under_wine PROPERTIES LABELS windows TIMEOUT 300)

execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/lib/qt-windows.sh --where
  OUTPUT_VARIABLE qt OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
find_program(KESTROVA_MAKENSIS makensis)
if(NOT EXISTS ${qt}/.complete OR NOT KESTROVA_MAKENSIS)
  message(STATUS "No Qt for Windows in ${qt} or no makensis: Kestrova for Windows is not built")
  return()
endif()
ExternalProject_Add(kestrova_windows_app
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/windows-app
  CONFIGURE_COMMAND ${CMAKE_COMMAND} -E env KESTROVA_QT_WINDOWS=${qt}
    ${CMAKE_COMMAND} --preset windows-app -S <SOURCE_DIR> -B <BINARY_DIR>
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR>
  COMMAND ${CMAKE_CPACK_COMMAND} --config <BINARY_DIR>/CPackConfig.cmake -B <BINARY_DIR>
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")
ExternalProject_Add_StepDependencies(kestrova_windows_app configure
  ${PROJECT_SOURCE_DIR}/CMakePresets.json)
set(KESTROVA_WINDOWS_INSTALLER
  ${CMAKE_BINARY_DIR}/windows-app/kestrova-${PROJECT_VERSION}-setup.exe)
