# Runs lupdate over the sources into a copy of the English catalogue and
# fails, naming them, when texts are left without their English: a text new
# or changed in the form or the code shows up here until the catalogue is
# refreshed (the update-translations target) and translated.
#   cmake -DLUPDATE=... -DTS_FILE=... -DSOURCE_DIR=... -DWORK_DIR=... "-DARGS=..." -P check_translation.cmake
set(copy ${WORK_DIR}/tarvo-config_en.ts)
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY_FILE ${TS_FILE} ${copy})
execute_process(COMMAND ${LUPDATE} ${ARGS} -ts ${copy}
                WORKING_DIRECTORY ${SOURCE_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
file(READ ${copy} catalogue)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"unfinished\"" unfinished "${catalogue}")
list(LENGTH unfinished count)
if(count GREATER 0)
  string(REGEX REPLACE "</?source>|[ \n]*<translation type=\"unfinished\"" "" names "${unfinished}")
  string(REPLACE ";" "\n  " names "${names}")
  message(FATAL_ERROR "${count} texts have no English in ${TS_FILE}:\n  ${names}")
endif()
message(STATUS "every text has its English")
