# How a source check ends. With EXPECT the findings must be exactly the lines
# of that file (the check itself tried on sources planted with faults);
# without it, any finding fails the check with its list.
#
#   report_findings("${findings}" <planted what> <failure text> <success text>)
function(report_findings findings planted failure success)
  if(DEFINED EXPECT)
    file(STRINGS "${EXPECT}" expected)
    if(NOT findings STREQUAL expected)
      string(REPLACE ";" "\n  " found "${findings}")
      string(REPLACE ";" "\n  " wanted "${expected}")
      message(FATAL_ERROR "The check found:\n  ${found}\nbut should have found:\n  ${wanted}")
    endif()
    list(LENGTH findings count)
    message("The check found all ${count} planted ${planted} and nothing else.")
    return()
  endif()
  if(findings)
    string(REPLACE ";" "\n  " found "${findings}")
    message(FATAL_ERROR "${failure}:\n  ${found}")
  endif()
  message("${success}")
endfunction()
