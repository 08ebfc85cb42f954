# Writes what the page takes from the shared tables, as the markup program
# (run under node) prints it: Form1's markup at the marker of index.html, its
# stylesheet, the board's scale (fit.css), the sky cut to the board's height
# and one tile's width (the tile's width printed by assets/make_assets.py,
# which draws the picture), and the credit label's characters, for cutting
# down its font (written to BOLD, outside the page's folder).
#   cmake -DNODE= -DGENERATOR= -DPYTHON= -DJPEGTRAN= -DSOURCE= -DPAGE= -DBOLD= -P make_page.cmake
# SOURCE is the repository's top folder.
foreach(what html css size bold)
    execute_process(COMMAND ${NODE} ${GENERATOR} ${what}
                    OUTPUT_VARIABLE ${what} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${GENERATOR} ${what} failed: ${failed}")
    endif()
endforeach()
execute_process(COMMAND ${PYTHON} ${SOURCE}/assets/make_assets.py --tile-width
                OUTPUT_VARIABLE tile_width OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "assets/make_assets.py --tile-width failed: ${failed}")
endif()

set(template ${SOURCE}/web/page/index.html)
file(READ ${template} page)
set(marker "<!-- Form1 -->")
string(FIND "${page}" "${marker}" at)
if(at EQUAL -1)
    message(FATAL_ERROR "${template} has no ${marker}")
endif()
string(REPLACE "${marker}" "${html}" page "${page}")
file(WRITE ${PAGE}/index.html "${page}")
file(WRITE ${PAGE}/board.css "${css}")
string(REGEX REPLACE "\n$" "" bold "${bold}")  # the line end only: a space is a character
file(WRITE ${BOLD} "${bold}")

string(STRIP "${size}" size)
separate_arguments(size UNIX_COMMAND "${size}")
list(GET size 0 BOARD_Width)
list(GET size 1 BOARD_Height)
configure_file(${SOURCE}/web/page/fit.css.in ${PAGE}/fit.css @ONLY)

# The sky behind the board, cut from the picture without decoding it.
# make_assets.py draws the picture as copies of one tile, whose width is a
# whole number of the JPEG's 8-pixel blocks (tests/assets checks that chroma
# is not subsampled), so those blocks repeat too, and page.css repeating the
# column across gives the picture's very pixels in less than half its weight.
# The coding tables are rebuilt for the smaller picture; its sRGB profile
# goes, as a browser takes an untagged picture for sRGB.
math(EXPR off_block "${tile_width} % 8")
if(NOT off_block EQUAL 0)
    message(FATAL_ERROR "The sky's tile (${tile_width} px) is not whole JPEG blocks")
endif()
execute_process(COMMAND ${JPEGTRAN} -copy none -optimize -crop ${tile_width}x${BOARD_Height}+0+0
                        -outfile ${PAGE}/background.jpg ${SOURCE}/assets/background.jpg
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "jpegtran failed: ${failed}")
endif()
