# Assembles the monitor with ta12 in WORK (listing monitor.lst there) and
# copies the S-records to IMAGE. Any message, a warning included, fails
# the build (with -w a clean run says only "No Errors.").
execute_process(
  COMMAND ${TA12} -L -w -I ${INCLUDE} ${SOURCE}
  WORKING_DIRECTORY ${WORK}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT output STREQUAL "No Errors.\n")
  message(FATAL_ERROR "The monitor does not assemble cleanly:\n${output}")
endif()
get_filename_component(image_dir ${IMAGE} DIRECTORY)
file(MAKE_DIRECTORY ${image_dir})
file(COPY_FILE ${WORK}/monitor.s19 ${IMAGE})
