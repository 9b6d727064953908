#!/usr/bin/env bash
# gatehouse-sim's --help and docs/simulator.md describe the same command line
# and the same commands: the help block and the usage block of the document are
# what the simulator prints, and every option and command form that --help
# lists has its row in the document's tables, and every row there is listed.
#
#   help_matches_docs.sh SIM DOC
set -uo pipefail

sim=$1
doc=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failed=0
fail() { echo "FAIL: $*"; failed=1; }

# What the simulator prints on standard output (standard error: $work/err),
# without the "\r" of a Windows build's line ends; its exit status.
run() {  # run ARGS...
  "$sim" "$@" 2>"$work/err" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

# The lines of the fenced block in the section HEADING that holds the line
# MARKER (the first block of the section for an empty MARKER).
doc_block() {  # doc_block HEADING MARKER
  awk -v heading="$1" -v marker="$2" '
    /^## / { in_section = ($0 == heading); next }
    !in_section { next }
    /^```/ {
      if (in_block) {
        if (!done && (marker == "" || found)) { printf "%s", block; done = 1 }
        in_block = 0
      } else {
        in_block = 1; block = ""; found = 0
      }
      next
    }
    in_block { block = block $0 "\n"; if ($0 == marker) found = 1 }
  ' "$doc"
}

# The code spans of the first column of the table whose header line is HEADER,
# one a line.
doc_first_column() {  # doc_first_column HEADER
  awk -v header="$1" '
    $0 == header { in_table = 1; getline; next }
    in_table && !/^\|/ { in_table = 0 }
    in_table {
      cell = substr($0, 3)
      cell = substr(cell, 1, index(cell, " | ") - 1)
      while (match(cell, /`[^`]+`/)) {
        print substr(cell, RSTART + 1, RLENGTH - 2)
        cell = substr(cell, RSTART + RLENGTH)
      }
    }
  ' "$doc"
}

# Fails with the difference when the document's text (DOC) is not the
# simulator's (PRINTED).
same() {  # same WHAT DOC PRINTED
  diff -u "$2" "$3" >"$work/diff" || { fail "$1 (- document, + simulator):"; cat "$work/diff"; }
}

compare_sets() {  # compare_sets WHAT LISTED DOCUMENTED
  local line
  [ -s "$2" ] || fail "no ${1}s found in --help"
  while IFS= read -r line; do
    case $line in
      $'\t'*) fail "$1 '${line#$'\t'}' is documented in $doc but not listed by --help" ;;
      *) fail "$1 '$line' is listed by --help but not documented in $doc" ;;
    esac
  done < <(comm -3 <(sort -u "$2") <(sort -u "$3"))
}

# --help and -h print the same help and succeed.
run --help >"$work/help" || fail "--help exits with status $?"
run -h >"$work/h" || fail "-h exits with status $?"
cmp -s "$work/help" "$work/h" || fail "-h prints other text than --help"

# The document shows the help as it is printed.
doc_block "## Running a server" "commands, one a line, from --script FILE or standard input:" \
  >"$work/doc_help"
same "the help block of $doc differs from --help" "$work/doc_help" "$work/help"

# The usage that a bad command line prints after its reason is the document's.
run --no-such-option >/dev/null
status=$?
[ "$status" -eq 2 ] || fail "a bad command line exits with status $status, not 2"
tr -d '\r' <"$work/err" | sed -n '/^gatehouse-sim: unknown option/,$p' | tail -n +2 >"$work/usage"
# (The first block that holds the usage's first line; the help block after it
# holds it too.)
doc_block "## Running a server" "$(head -n 1 "$work/usage")" >"$work/doc_usage"
same "the usage block of $doc differs from the usage of a bad command line" "$work/doc_usage" \
  "$work/usage"

# The synopsis heading the document is the help's usage part, as the shell
# reads it (blanks between words do not count).
words() { sed -e 's/^usage: //' | tr -s ' \t' ' ' | sed -e 's/^ //' -e 's/ $//'; }
sed -n '1,/^$/p' "$work/help" | sed '/^$/d' | words >"$work/help_synopsis"
doc_block "## Running a server" "" | words >"$work/doc_synopsis"
same "the synopsis of $doc differs from the usage part of --help" "$work/doc_synopsis" \
  "$work/help_synopsis"

# Options: each one --help names has its row in the options table.
sed -n '1,/^$/p' "$work/help" | grep -v ' check ' | tr ' []|()' '\n' | grep -E '^-' \
  >"$work/help_options"
doc_first_column "| option | what it does | when it is not given |" | cut -d' ' -f1 \
  >"$work/doc_options"
compare_sets option "$work/help_options" "$work/doc_options"

# Commands: each form --help lists has its row in the commands or faults table
# (where "fault ..." stands for the faults table).
sed -n '/^commands, one a line/,$p' "$work/help" | sed -n 's/^  //p' >"$work/help_commands"
{
  doc_first_column "| command | what it does |"
  doc_first_column "| command | the failure |"
} | grep -vx 'fault \.\.\.' >"$work/doc_commands"
compare_sets "command form" "$work/help_commands" "$work/doc_commands"

# check's usage is the one its section shows, and the help's.
run check --help >"$work/check_help" || fail "check --help exits with status $?"
check_usage=$(sed -n '1s/^usage: //p' "$work/check_help")
[ -n "$check_usage" ] || fail "check --help prints no usage line"
doc_block "## Checking a configuration file" "" >"$work/doc_check"
grep -qxF "$check_usage" "$work/doc_check" || fail "'$check_usage' is not the synopsis of check in $doc"
grep -qF "       $check_usage" "$work/help" || fail "'$check_usage' is not in --help"

exit $failed
