# Installing as a desktop program, and the Debian package of it:
#   cmake --build build --target package   ->   kv820-callcenter_<version>_<arch>.deb
# The program and the simulator go to bin; the menu entry starts the launcher, which runs
# the program in the operator's own folder with a database created on the first start.
# The receiver service and the modem's udev rule are for running --receive unattended.
set(KV820_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
install(PROGRAMS ${KV820_PACKAGING_DIR}/kv820-callcenter-launcher DESTINATION bin)
install(FILES ${KV820_PACKAGING_DIR}/kv820-callcenter.desktop DESTINATION share/applications)
install(FILES ${KV820_PACKAGING_DIR}/kv820-callcenter.svg
        DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${KV820_PACKAGING_DIR}/kv820-receiver@.service DESTINATION lib/systemd/system)
install(FILES ${KV820_PACKAGING_DIR}/70-kv820-modem.rules DESTINATION lib/udev/rules.d)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION share/doc/kv820-callcenter)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kv820-callcenter)
set(CPACK_PACKAGE_VENDOR "The kv820-callcenter project")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "call center for KV820 GPS/GSM trackers")
set(CPACK_PACKAGE_DESCRIPTION
    "Receives the position reports of KV820 trackers by SMS through a GSM modem on a serial\n"
    "port, stores them in SQLite, shows, searches and exports them, sends the trackers\n"
    "commands and sets them up over their cable. Includes the simulator kv820-sim and a\n"
    "systemd service for receiving without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)  # the service and the launcher expect /usr/bin
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The kv820-callcenter project <maintainers@users.noreply.c-seed-6ff455d9.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The shared libraries (Qt 6, SQLite) come from dpkg-shlibdeps (dpkg-dev, part of
# build-essential); the web map opens through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${KV820_PACKAGING_DIR}/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
