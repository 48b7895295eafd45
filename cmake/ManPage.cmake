# Writes a man page for PROGRAM from its own --help text, so that the page
# and the program never disagree.
#   cmake -DPROGRAM=path -DNAME=cadhost -DSUMMARY="..." -DOUTPUT=cadhost.1 -P ManPage.cmake
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${failed}")
endif()
# roff: backslashes doubled, and no line may start with a dot or a quote.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
file(WRITE ${OUTPUT}
     ".TH ${NAME} 1 \"\" \"tavrin\" \"User Commands\"\n"
     ".SH NAME\n${NAME} \\- ${SUMMARY}\n"
     ".SH DESCRIPTION\n.nf\n${help}.fi\n"
     ".SH SEE ALSO\n/usr/share/tavrin/examples, the README of the project\n")
