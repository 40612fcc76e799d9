# The Java parts of the project (the verification class, the demo wizard)
# are compiled at build time with the JDK on the machine. --release 8 keeps
# the classes runnable on every JVM a launcher may meet.
find_program(LX_JAVAC javac REQUIRED)
find_program(LX_JAR jar REQUIRED)

# lx_add_jar(<target> <jar path> <main class or ""> <sources...>)
function(lx_add_jar target jarPath mainClass)
  set(sources ${ARGN})
  set(classDir ${CMAKE_BINARY_DIR}/java-classes/${target})
  set(entryOption "")
  if(mainClass)
    set(entryOption e)
  endif()
  add_custom_command(
    OUTPUT ${jarPath}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${classDir}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${classDir}
    COMMAND ${LX_JAVAC} --release 8 -nowarn -Xlint:-options -d ${classDir} ${sources}
    COMMAND ${LX_JAR} cf${entryOption} ${jarPath} ${mainClass} -C ${classDir} .
    DEPENDS ${sources}
    COMMENT "Building ${jarPath}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${jarPath})
endfunction()

lx_add_jar(verify_jar ${CMAKE_BINARY_DIR}/Verify.jar "" ${CMAKE_SOURCE_DIR}/java/verify/Verify.java)
