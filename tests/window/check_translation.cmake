# Runs lupdate over the sources into a copy of the English catalogue and
# fails, naming them, when texts are left without their English: a text new
# or changed in the form or the code shows up here until the catalogue is
# refreshed (the update-translations target) and translated.
#   cmake -DLUPDATE=... -DTS_FILE=... -DSOURCE_DIR=... -DWORK_DIR=... "-DARGS=..." -P check_translation.cmake
cmake_minimum_required(VERSION 3.16)
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

# A text in the source language that is never marked reaches the user
# untranslated, and lupdate never sees it. Every string literal of the
# product's sources that holds a non-ASCII character must stand on a line
# that marks it (tr, translate, QT_TR_NOOP, QT_TRANSLATE_NOOP), continue a
# marked call from the line before, or go to the debug log (qDebug). The
# literals below are no text for the user to read: a sign, font families,
# the producer named in a PDF's properties, and a line of the bridge's log.
set(not_for_translation "\"…\"" "\"微软雅黑\"" "\"宋体\"" "\"Tarvo配置工具\""
    "\"没有足够的内存, lua_State创建失败\"")
set(marker "tr\\(|translate\\(|QT_TR_NOOP|QT_TRANSLATE_NOOP")
set(unmarked "")
foreach(folder app cli readers program core documents widgets review batchwrite outputtest recordwindow
               window config qr device receivers records script crypto files)
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.c)
  foreach(source ${sources})
    file(READ ${source} text)
    # One list element a line; the list's own separators and brackets masked.
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "[" "<open>" text "${text}")
    string(REPLACE "]" "<close>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(previous "")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[ \t]*(//|/?\\*).*" "" code "${line}")
      string(REGEX REPLACE "[ \t]// .*" "" code "${code}")
      string(REGEX MATCHALL "\"([^\"\\\\]|\\\\.)*\"" literals "${code}")
      foreach(literal IN LISTS literals)
        if(NOT literal MATCHES "[^\t -~]" OR literal IN_LIST not_for_translation
           OR code MATCHES "${marker}|qC?Debug"
           OR (previous MATCHES "${marker}" AND NOT previous MATCHES "[;{}][ \t]*$"))
          continue()
        endif()
        file(RELATIVE_PATH name ${SOURCE_DIR} ${source})
        list(APPEND unmarked "${name}: ${literal}")
      endforeach()
      if(NOT code MATCHES "^[ \t]*$")
        set(previous "${code}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(unmarked)
  string(REPLACE ";" "\n  " unmarked "${unmarked}")
  message(FATAL_ERROR "texts not marked for translation:\n  ${unmarked}")
endif()
message(STATUS "every text shown is marked and has its English")
