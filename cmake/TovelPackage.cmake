# The Debian package (cpack -G DEB; scripts/package.sh): the install rules under /usr, the
# shared libraries' packages found by dpkg-shlibdeps, and what the programs start or load at
# run time, which no binary names: ffmpeg for the encoder tool, the window system's Qt plug-ins
# and the GStreamer plug-ins the preview plays through.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tovel")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Tovel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop video converter with output profiles")
set(CPACK_PACKAGE_DESCRIPTION "Collect media files into a job list, pick an output profile \
(MP4, 3GP, FLV, AVI, WMV, MPEG, VCD, SVCD, DVD, RealMedia)\nand convert every checked file in \
turn, with a preview of the selected one.\ntovel-cli converts the same way from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "video")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tovel developers <${TOVEL_SUPPORT_ADDRESS}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TOVEL_ABOUT_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The producer library in tools/ belongs to the package itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${TOVEL_APP_DIR}/tools")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "ffmpeg, qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav")
include(CPack)
