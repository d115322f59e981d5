# Turns one scdoc source into a manual page, run as a script at build time (cmake -P):
#   SCDOC, GZIP    the programs
#   SOURCE         the .scd file
#   PAGE           the troff page to write; PAGE.gz gets its gzip -9n copy for installing
#   DATE_EPOCH     the date the page shows, so a rebuild gives the same bytes
# The pages are German, and English hyphenation breaks German words in wrong places
# ("Arbeitsspe-icher"), groff's German patterns still in some ("übern-immt"): hyphenation is
# switched off, lines ragged. scdoc writes .nh and .ad l before .TH, which turns them on again,
# so they are repeated after it.
set(ENV{SOURCE_DATE_EPOCH} "${DATE_EPOCH}")
execute_process(COMMAND "${SCDOC}" INPUT_FILE "${SOURCE}" OUTPUT_VARIABLE page
                ERROR_VARIABLE error RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SOURCE}: ${error}")
endif()

string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.nh\n.ad l\n" page "${page}")
if(NOT page MATCHES "\n\\.TH [^\n]*\n\\.nh\n")
    message(FATAL_ERROR "${SOURCE}: scdoc wrote no .TH line")
endif()
file(WRITE "${PAGE}" "${page}")

execute_process(COMMAND "${GZIP}" -9 -n -c INPUT_FILE "${PAGE}" OUTPUT_FILE "${PAGE}.gz"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${PAGE}")
endif()
