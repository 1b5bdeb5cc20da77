#!/bin/sh
# help-to-man.sh PROGRAM TEMPLATE VERSION DATE OUTPUT
# Writes TEMPLATE as a manual page, its @OPTIONS@ line replaced by the options that `PROGRAM --help`
# lists under "Options:", so that the page and the program can never disagree; @VERSION@ and @DATE@
# take the build's version and date.
set -eu
program=$1 template=$2 version=$3 date=$4 output=$5

options=$("$program" --help | awk '
  # roff: a backslash is \e, a hyphen in an option is \-, a line must not start with a control character.
  function roff(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    sub(/^[.\047]/, "\\\\\\&&", text)
    return text
  }
  # "-h, --steps N" -> option names in bold, their arguments in italics.
  function term(text,    words, n, i, out, word, sep, comma, parts) {
    n = split(text, words, " ")
    out = ""
    for (i = 1; i <= n; i++) {
      word = words[i]
      sep = (i > 1) ? " " : ""
      if (word ~ /^-/) {
        comma = sub(/,$/, "", word) ? "," : ""
        if (split(word, parts, "=") == 2)
          out = out sep "\\fB" roff(parts[1]) "\\fR=\\fI" roff(parts[2]) "\\fR" comma
        else
          out = out sep "\\fB" roff(word) "\\fR" comma
      } else {
        out = out sep "\\fI" roff(word) "\\fR"
      }
    }
    return out
  }
  /^Options:$/ { listing = 1; next }
  listing && /^$/ { exit }
  listing && /^ +-/ {
    line = $0
    sub(/^ +/, "", line)
    # The description starts after the first run of two or more spaces.
    if (match(line, /  +/)) {
      name = substr(line, 1, RSTART - 1)
      text = substr(line, RSTART + RLENGTH)
    } else {
      name = line
      text = ""
    }
    print ".TP"
    print term(name)
    if (text != "") print roff(text)
    next
  }
  listing {
    line = $0
    sub(/^ +/, "", line)
    print roff(line)
  }
')
[ -n "$options" ] || { echo "help-to-man.sh: $program --help lists no options" >&2; exit 1; }

# Through the environment: awk would read the backslashes of -v values as escapes.
OPTIONS=$options VERSION=$version DATE=$date awk '
  $0 == "@OPTIONS@" { print ENVIRON["OPTIONS"]; next }
  { gsub(/@VERSION@/, ENVIRON["VERSION"]); gsub(/@DATE@/, ENVIRON["DATE"]); print }
' "$template" >"$output.tmp"
mv "$output.tmp" "$output"
