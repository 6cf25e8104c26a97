# The release a Windows user downloads, made by `cmake --build --preset
# windows --target package` (CPack) in the build folder:
#   almanac-<version>.zip        the program and a read-me, to unpack anywhere
#   almanac-<version>-setup.exe  a per-user installer (NSIS, no administrator
#                                rights), with its uninstaller
# The 64-bit test build makes the same two as almanac-<version>-win64.*, so
# that they are never taken for the release. Only the "calendar" component
# goes in, whatever else the tree installs.

install(TARGETS almanac RUNTIME DESTINATION . COMPONENT calendar)
# Windows' Notepad reads UTF-8 with a byte-order mark in every language, as
# it reads no other encoding outside a Chinese Windows; the file name is
# ASCII because older Windows unpacks zip names in the OEM code page.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${CMAKE_BINARY_DIR}/packaging/README.txt
    @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt DESTINATION . COMPONENT calendar)

# The uninstaller removes the autostart value the program writes: its name
# comes from the program's own source.
file(STRINGS ${PROJECT_SOURCE_DIR}/app/Settings.h autostart_line REGEX "AUTOSTART_VALUE = \"[^\"]+\"")
string(REGEX MATCH "\"([^\"]+)\"" autostart_value "${autostart_line}")
if(NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "no AUTOSTART_VALUE in app/Settings.h")
endif()
set(CPACK_ALMANAC_AUTOSTART_VALUE "${CMAKE_MATCH_1}")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(package_suffix "-win64")
    set(CPACK_ALMANAC_NSIS_TARGET amd64-unicode)
else()
    set(package_suffix "")
    set(CPACK_ALMANAC_NSIS_TARGET x86-unicode)
endif()

set(CPACK_GENERATOR "ZIP;NSIS")
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};calendar;/")
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvane")
# (CPack changes CPACK_PACKAGE_FILE_NAME as it writes its source package
# settings; the tests read the name from ALMANAC_PACKAGE_FILE_NAME.)
set(ALMANAC_PACKAGE_FILE_NAME "${PROJECT_NAME}-${PROJECT_VERSION}${package_suffix}")
set(CPACK_PACKAGE_FILE_NAME "${ALMANAC_PACKAGE_FILE_NAME}")
# The folder under %LOCALAPPDATA%\Programs and the key of the entry in the
# list of installed programs: the product name of the version resource.
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kelvadar")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Kelvadar")
set(CPACK_NSIS_DISPLAY_NAME "${ALMANAC_DISPLAY_NAME}")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_ALMANAC_ICON "${PROJECT_SOURCE_DIR}/resources/almanac.ico")
set(CPACK_ALMANAC_VERSION_QUAD "${ALMANAC_VERSION_QUAD}")
# Our own NSIS.template.in: per user, not the stock one's for all users.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageOptions.cmake)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
