# Writes the manual page of pictavo-cli from its own help texts:
#   cmake -DCLI=path/to/pictavo-cli -DOUT=pictavo-cli.1 -DVERSION=x.y.z -P MakeManPage.cmake
# Each command's --help becomes one section; option lines become tagged paragraphs.
cmake_minimum_required(VERSION 3.25)
foreach(variable CLI OUT VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "MakeManPage.cmake needs -D${variable}=...")
  endif()
endforeach()

# Text as roff shows it literally: backslashes, hyphens, and a leading control character.
function(roff_escape text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(run_help out)
  # A fixed locale and no settings of the builder's own leak into the page; a sanitizer build's
  # leak report at exit would fail the build for a help text.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 HOME=/nonexistent ASAN_OPTIONS=detect_leaks=0
            ${CLI} ${ARGN} --help
    OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pictavo-cli ${ARGN} --help failed: ${status}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The body of one help text: its first line (the purpose), then the usage line, then titled
# blocks of "  NAME   DESCRIPTION" rows; a long NAME puts its description on the next line.
function(help_to_roff text out)
  string(REPLACE ";" "\\;" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(roff "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^Usage: (.*)$")
      roff_escape("${CMAKE_MATCH_1}" usage)
      string(APPEND roff ".PP\n\\fB${usage}\\fR\n")
    elseif(line MATCHES "^([A-Za-z][A-Za-z ]*):$")
      string(APPEND roff ".PP\n\\fI${CMAKE_MATCH_1}:\\fR\n")
    elseif(line MATCHES "^  [^ ]")
      set(description "")
      if(line MATCHES "^  ([^ ].*[^ ])   +([^ ].*)$")
        set(name "${CMAKE_MATCH_1}")
        set(description "${CMAKE_MATCH_2}")
      else()
        string(STRIP "${line}" name)
      endif()
      roff_escape("${name}" name)
      string(APPEND roff ".TP\n\\fB${name}\\fR\n")
      if(NOT description STREQUAL "")
        roff_escape("${description}" description)
        string(APPEND roff "${description}\n")
      endif()
    elseif(line MATCHES "^ +([^ ].*)$")
      roff_escape("${CMAKE_MATCH_1}" continued)
      string(APPEND roff "${continued}\n")
    elseif(NOT line STREQUAL "")
      roff_escape("${line}" plain)
      string(APPEND roff ".PP\n${plain}\n")
    endif()
  endforeach()
  set(${out} "${roff}" PARENT_SCOPE)
endfunction()

run_help(main)
string(REGEX MATCH "^[^\n]*" purpose "${main}")
string(REGEX REPLACE "\\.$" "" summary "${purpose}")
string(REGEX REPLACE "^Turns" "turn" summary "${summary}")
help_to_roff("${main}" main_roff)

set(page ".TH PICTAVO\\-CLI 1 \"\" \"pictavo\\-cli ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\npictavo\\-cli \\- ${summary}\n")
string(APPEND page ".SH SYNOPSIS\n")
foreach(command "build" "list" "config get" "config set" "config list")
  string(REPLACE " " ";" words "${command}")
  run_help(help ${words})
  string(REGEX MATCH "Usage: [^\n]*" usage "${help}")
  string(REPLACE "Usage: " "" usage "${usage}")
  roff_escape("${usage}" usage)
  string(APPEND page ".br\n\\fB${usage}\\fR\n")
endforeach()
string(APPEND page ".SH DESCRIPTION\n${main_roff}")
string(APPEND page ".SH COMMANDS\n")
foreach(command "build" "list" "config" "config get" "config set" "config list")
  string(REPLACE " " ";" words "${command}")
  run_help(help ${words})
  help_to_roff("${help}" roff)
  string(APPEND page ".SS \"pictavo\\-cli ${command}\"\n${roff}")
endforeach()
string(APPEND page [=[.SH FILES
.TP
.I $XDG_CONFIG_HOME/Pictavo/Pictavo.ini
The user's settings file (default \fI~/.config/Pictavo/Pictavo.ini\fR), shared with the desktop
program \fBpictavo\fR. Only \fBconfig set\fR writes it.
.TP
.I Settings/Pictavo.ini
Beside the program instead, when a folder named \fISettings\fR is there (a portable copy).
.TP
.I share/pictavo/styles
The design styles, beside the program's \fIbin\fR folder (\fI/usr/share/pictavo/styles\fR
in the package); a folder \fIstyles\fR beside the program takes precedence.
.TP
.I $XDG_CACHE_HOME/Pictavo/Preview
Where \fBbuild \-\-preview\fR writes (default \fI~/.cache/Pictavo/Preview\fR).
.SH SEE ALSO
.BR pictavo (1)
]=])
file(WRITE "${OUT}" "${page}")
