# Fails unless every library in LIBRARIES (static libraries separated by |)
# calls the fuzzer's coverage hooks, i.e. was compiled with
# -fsanitize=fuzzer-no-link.
string(REPLACE "|" ";" LIBRARIES "${LIBRARIES}")
foreach(lib IN LISTS LIBRARIES)
  execute_process(COMMAND nm -u ${lib} OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot list the symbols of ${lib}")
  endif()
  if(NOT symbols MATCHES "__sanitizer_cov_")
    message(FATAL_ERROR "${lib} is not instrumented for fuzzing")
  endif()
  message(STATUS "instrumented: ${lib}")
endforeach()
