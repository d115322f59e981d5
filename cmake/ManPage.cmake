# Turns one scdoc source into a manual page, run as a script at build time (cmake -P):
#   SCDOC, GZIP    the programs
#   SOURCE         the .scd file
#   PAGE           the troff page to write; PAGE.gz gets its gzip -9n copy for installing
#   DATE_EPOCH     the date the page shows, so a rebuild gives the same bytes
# The pages are German: German hyphenation is set after .TH, since the man macros' own setup
# runs before the page and scdoc's switches come before .TH too.
set(ENV{SOURCE_DATE_EPOCH} "${DATE_EPOCH}")
execute_process(COMMAND "${SCDOC}" INPUT_FILE "${SOURCE}" OUTPUT_VARIABLE page
                ERROR_VARIABLE error RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SOURCE}: ${error}")
endif()

string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.hla de\n.hpf hyphen.den\n" page "${page}")
if(NOT page MATCHES "\n\\.hla de\n")
    message(FATAL_ERROR "${SOURCE}: scdoc wrote no .TH line")
endif()
file(WRITE "${PAGE}" "${page}")

execute_process(COMMAND "${GZIP}" -9 -n -c INPUT_FILE "${PAGE}" OUTPUT_FILE "${PAGE}.gz"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${PAGE}")
endif()
