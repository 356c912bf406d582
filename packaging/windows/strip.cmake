# Strips the symbols the program does not need from every program file and DLL installed, which
# leaves less than half of their size. Run by the install with strip set.
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(GLOB_RECURSE binaries "${folder}/*.exe" "${folder}/*.dll")
foreach(binary IN LISTS binaries)
    execute_process(COMMAND ${strip} --strip-unneeded ${binary} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
