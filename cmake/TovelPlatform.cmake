# Picks the per-platform source of a concern: NAME_linux.cpp or NAME_win.cpp.
if(WIN32)
    set(TOVEL_PLATFORM_SUFFIX win)
else()
    set(TOVEL_PLATFORM_SUFFIX linux)
endif()

# tovel_place_in_app(target): the target's binary (program or loadable module) lands in
# build/app/.
function(tovel_place_in_app target)
    set_target_properties(${target} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY "${TOVEL_APP_DIR}"
        LIBRARY_OUTPUT_DIRECTORY "${TOVEL_APP_DIR}")
endfunction()

# Where cmake --install and the package put the application folder (under the prefix). Only
# what ships is installed, target by target and file by file, never build/app/ as a whole:
# a run leaves trace.log, edit.avs and config.ini there.
include(GNUInstallDirs)
set(TOVEL_INSTALL_APPDIR "lib/tovel")
