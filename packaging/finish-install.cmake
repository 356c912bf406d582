# Runs after every file of the installation folder is in place, from `cmake --install`. A staged
# install (DESTDIR, the package) leaves this to the package's own steps.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
    return()
endif()

# The settings where there are none: a data folder of the desktop user's (the one who called
# sudo; root's from a root shell), linked from the installation folder.
execute_process(COMMAND "${folder}/${initdb}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "The settings could not be put in place")
endif()

# An earlier version gave the installation folder to the desktop user or to the group users.
if(UNIX)
    execute_process(COMMAND id -u OUTPUT_VARIABLE user_id OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(user_id STREQUAL "0")
        execute_process(COMMAND chown -R --no-dereference root:root "${folder}"
            COMMAND_ERROR_IS_FATAL ANY)
        execute_process(COMMAND chmod -R go-w,g-s "${folder}" COMMAND_ERROR_IS_FATAL ANY)
    endif()
endif()
