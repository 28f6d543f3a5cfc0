#!/bin/sh
# A program's help with every shape the manual page writer reads, and the
# characters roff would otherwise take for its own.
cat <<'HELP'
Usage: sample [options] FILE
       sample --list

Reads FILE and does things\with backslashes.
.dots at the start of a line, 'quotes too.

Options:
  -q, --quiet         say nothing
  --level N           how much: 0 to 9, the default 5,
                      written as one digit
  --rates A,B,C
                      three rates
  Qt's own options are passed on.

Faults of the line:
  --noise             stray bytes
  A note under the entries, with an example:
      sample --noise in.txt
        indented deeper

Environment:
  SAMPLE_HOME
                      where it lives

Examples:
  sample in.txt
  sample --list | sort
HELP
