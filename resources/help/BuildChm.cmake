# Runs chmcmd on a fresh copy of the help sources and moves the compiled file to OUTPUT.
# Called by the custom command in CMakeLists.txt with CHMCMD, WORK_DIR, OUTPUT and SOURCES.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCES} DESTINATION ${WORK_DIR})

# Full-text search stays off in the project: chmcmd's indexer crashes on Japanese text.
execute_process(
  COMMAND ${CHMCMD} polycolo.hhp
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
# chmcmd scans the pages and reports a missing linked file ("Warning:") or a dead anchor ("Error:")
# while still returning 0: such a file is not shipped.
if(NOT result EQUAL 0 OR out MATCHES "(Error|Warning)" OR err MATCHES "(Error|Warning)"
   OR NOT EXISTS ${WORK_DIR}/polycolo.chm)
  message(FATAL_ERROR "chmcmd failed (${result}):\n${out}\n${err}")
endif()
file(SIZE ${WORK_DIR}/polycolo.chm size)
if(size EQUAL 0)
  message(FATAL_ERROR "chmcmd wrote an empty file:\n${out}\n${err}")
endif()

# Into place in one step, so that a failed build never leaves half a help file beside the programs.
file(COPY_FILE ${WORK_DIR}/polycolo.chm ${OUTPUT}.tmp)
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
