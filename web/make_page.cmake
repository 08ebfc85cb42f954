# Puts Form1's markup into the page at its marker and writes its stylesheet
# beside it: cmake -DNODE= -DGENERATOR= -DTEMPLATE= -DPAGE= -P make_page.cmake
foreach(what html css)
    execute_process(COMMAND ${NODE} ${GENERATOR} ${what}
                    OUTPUT_VARIABLE ${what} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${GENERATOR} ${what} failed: ${failed}")
    endif()
endforeach()
file(READ ${TEMPLATE} page)
set(marker "<!-- Form1 -->")
string(FIND "${page}" "${marker}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE} has no ${marker}")
endif()
string(REPLACE "${marker}" "${html}" page "${page}")
file(WRITE ${PAGE}/index.html "${page}")
file(WRITE ${PAGE}/board.css "${css}")
