# Writes the demo timetable: a planning office with a dozen resources and a few hundred bookings,
# several of them in series, from ten days before the day it is made to three weeks on.
execute_process(COMMAND date -d "-10 days" +%F OUTPUT_VARIABLE from OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed)
if(failed OR NOT from MATCHES "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$")
  string(TIMESTAMP from "%Y-%m-%d")
endif()
file(REMOVE ${OUTPUT})
execute_process(
  COMMAND ${TOOL} generate ${OUTPUT} --resources 12 --items 320 --series 8 --seed 20 --from ${from} --days 24
  RESULT_VARIABLE failed)
if(failed)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "qunta-tool could not generate the demo timetable")
endif()
