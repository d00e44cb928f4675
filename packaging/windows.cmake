# The Windows installer: the program with what Qt's deployment tool would put beside it (Qt's
# libraries, the platform, picture and style plugins, the compiler's run-time libraries), packed
# by NSIS into Program Files with a Start-menu entry and an uninstaller. Uninstalling leaves the
# user's settings in the registry, as Windows programs do.
foreach(library Core Gui Widgets)
  install(FILES $<TARGET_FILE:Qt6::${library}> DESTINATION .)
endforeach()
foreach(plugin platforms/QWindowsIntegrationPlugin styles/QWindowsVistaStylePlugin
    imageformats/QGifPlugin imageformats/QICOPlugin imageformats/QJpegPlugin)
  string(REGEX MATCH "^[a-z]+" folder ${plugin})
  string(REGEX REPLACE "^[a-z]+/" "Qt6::" target ${plugin})
  install(FILES $<TARGET_FILE:${target}> DESTINATION ${folder})
endforeach()
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  if(NOT IS_ABSOLUTE "${path}")  # the compiler names files it does not find as they are
    find_file(path_${runtime} ${runtime} PATHS /usr/${CMAKE_C_LIBRARY_ARCHITECTURE}
      /usr/x86_64-w64-mingw32/lib NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(path ${path_${runtime}})
  endif()
  install(FILES ${path} DESTINATION .)
endforeach()

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Kestrova)
set(CPACK_PACKAGE_VENDOR Quillmere)
set(CPACK_PACKAGE_FILE_NAME kestrova-${PROJECT_VERSION}-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kestrova)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Kestrova)
set(CPACK_PACKAGE_EXECUTABLES kestrova Kestrova)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Kestrova)
set(CPACK_NSIS_PACKAGE_NAME Kestrova)
set(CPACK_NSIS_INSTALLED_ICON_NAME kestrova.exe)
set(CPACK_NSIS_URL_INFO_ABOUT ${KESTROVA_HOMEPAGE})
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/assets/pictures/kestrova.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/assets/pictures/kestrova.ico)
# A 64-bit installer for a 64-bit program, which also lets a 64-bit-only Wine run it.
set(CPACK_NSIS_DEFINES "Unicode true\nTarget amd64-unicode")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
include(CPack)
