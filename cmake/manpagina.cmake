# Writes the manual page of zarvo-batch from its own --help texts, so the
# page never tells other options than the program has.
#   cmake -DPROGRAMMA=zarvo-batch -DVERSIE=1.0 -DUIT=zarvo-batch.1 -P manpagina.cmake
foreach(var PROGRAMMA VERSIE UIT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} ontbreekt")
  endif()
endforeach()

# One help text as a preformatted troff block.
function(hulptekst uitvoer)
  execute_process(COMMAND ${PROGRAMMA} ${ARGN} --help OUTPUT_VARIABLE tekst RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${PROGRAMMA} ${ARGN} --help gaf afsluitcode ${code}")
  endif()
  # troff: a backslash is written \e, and a line starting with . or ' would
  # be read as a request.
  string(REPLACE "\\" "\\e" tekst "${tekst}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" tekst "${tekst}")
  set(${uitvoer} ".nf\n${tekst}.fi\n" PARENT_SCOPE)
endfunction()

hulptekst(algemeen)
hulptekst(lijst lijst)
hulptekst(bouw bouw)

file(WRITE ${UIT} ".TH ZARVO-BATCH 1 \"\" \"Zarvo-Edit ${VERSIE}\" \"Gebruikershandleiding\"
.SH NAAM
zarvo-batch \\- dwarsprofielen controleren en slootprofielen inbouwen zonder scherm
.SH OVERZICHT
.B zarvo-batch
.I OPDRACHT
[\\fIARGUMENTEN\\fR]
.SH BESCHRIJVING
\\fBzarvo-batch\\fR doet het werk van het programma \\fBzarvo-edit\\fR zonder de schermen,
voor scripts en controles. Elke melding die \\fBzarvo-edit\\fR in een venster zou tonen,
gaat als \\(lqtitel: tekst\\(rq naar de standaardfoutuitvoer.
.PP
${algemeen}.SH \"OPDRACHT LIJST\"
${lijst}.SH \"OPDRACHT BOUW\"
${bouw}")
