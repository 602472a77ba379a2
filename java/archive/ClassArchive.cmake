# cmake -DJAVA=... -DDIST=... -DTRAINING_JAR=... -DWORK=... -P ClassArchive.cmake
# Lists the classes a training run of the client loads, then writes them to
# DIST/ViredaClientNetwork.jsa for the class path the program gives its
# virtual machine (the jar first, relative to DIST).
set(list_file ${WORK}/classes.lst)
set(log_file ${WORK}/class-archive.log)
set(training_dir ${WORK}/training)
file(REMOVE_RECURSE ${training_dir})
file(MAKE_DIRECTORY ${training_dir})
file(REMOVE ${list_file})

# The collector the program's virtual machine uses.
set(vm_options -Xrs -XX:+UseSerialGC)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=VIREDA_PEER
          ${JAVA} ${vm_options} -XX:DumpLoadedClassList=${list_file}
          -cp ${DIST}/ViredaClientNetwork.jar:${TRAINING_JAR} com.vireda.archive.ArchiveTraining ${training_dir}
  RESULT_VARIABLE result
  OUTPUT_FILE ${log_file} ERROR_FILE ${log_file})
file(REMOVE_RECURSE ${training_dir})
if(NOT result EQUAL 0 OR NOT EXISTS ${list_file})
  file(READ ${log_file} log)
  message(FATAL_ERROR "The client's training run failed (${result}):\n${log}")
endif()

# The training class itself is not on the program's class path.
file(READ ${list_file} classes)
string(REGEX REPLACE "[^\n]*com/vireda/archive/[^\n]*\n" "" classes "${classes}")
file(WRITE ${list_file} "${classes}")

set(archive ${DIST}/ViredaClientNetwork.jsa)
file(REMOVE ${archive}.part)
execute_process(
  COMMAND ${JAVA} -Xshare:dump ${vm_options} -XX:SharedClassListFile=${list_file}
          -XX:SharedArchiveFile=ViredaClientNetwork.jsa.part -cp ./ViredaClientNetwork.jar
  WORKING_DIRECTORY ${DIST}
  RESULT_VARIABLE result
  OUTPUT_FILE ${log_file} ERROR_FILE ${log_file})
if(NOT result EQUAL 0 OR NOT EXISTS ${archive}.part)
  file(READ ${log_file} log)
  file(REMOVE ${archive}.part)
  message(FATAL_ERROR "Writing the class-data archive failed (${result}):\n${log}")
endif()
file(RENAME ${archive}.part ${archive})
