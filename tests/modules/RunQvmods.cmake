# Runs qvmods in the test module directory and checks its listing.
#   cmake -DPROGRAM=<qvmods> [-DEMULATOR=<runner>] -DWORKDIR=<dir> -DRUNTIME=<ON|OFF>
#         -P RunQvmods.cmake
# RUNTIME: whether the runtime key names the directory with tm_runtime.qvm.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} WORKING_DIRECTORY ${WORKDIR}
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message(STATUS "qvmods said:\n${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "qvmods failed (${rc}): ${err}")
endif()
set(expected
  "working directory: [^\n]*testmods"
  "\nDIR +FILE +FILE NAME +NAME +TYPE +SUBTYPE +PLATFORM +NOTE"
  "\nworking +tm_renderer.qvm +tm_renderer.qvm +Test module tm_renderer +3D Renderer +- +All"
  "\nworking +tm_subtyped.qvm +tm_subtyped.qvm +Test module tm_subtyped +3D Renderer +Preview +All"
  "\nworking +tm_unnamed.qvm +- +Test module tm_unnamed +Object Loader +- +All +file name not set"
  "\nworking +tm_nocreate.qvm +- +- +- +- +- +not loadable"
  "\nworking +tm_nullcreate.qvm +- +- +- +- +- +not loadable")
if(RUNTIME)
  list(APPEND expected "\nruntime +tm_runtime.qvm +tm_runtime.qvm +Test module tm_runtime")
else()
  list(APPEND expected "\nruntime +tm_renderer.qvm +tm_renderer.qvm .*same module as an earlier row")
endif()
foreach(pattern IN LISTS expected)
  if(NOT out MATCHES "${pattern}")
    message(SEND_ERROR "listing lacks: ${pattern}")
  endif()
endforeach()
