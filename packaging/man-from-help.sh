#!/bin/sh
# Writes a program's manual page from its own --help text, gzipped, so the
# page never tells a different story from the program.
#
#   man-from-help.sh PROGRAM NAME SUMMARY PRODUCT SEE_ALSO OUTPUT.1.gz
#
# The help text is read like this: the "Usage:" line (and lines under it
# naming the program again) is the synopsis; a paragraph of one line ending in
# ':' is a heading (OPTIONS, ENVIRONMENT, FILES and the like become sections,
# anything else a subsection); a line indented by two blanks starts an entry,
# its term ending at the first run of two blanks; deeper lines continue it.
set -eu
program=$1 name=$2 summary=$3 product=$4 see_also=$5 output=$6

help=$("$program" --help)
printf '%s\n' "$help" | awk -v name="$name" -v summary="$summary" -v product="$product" \
    -v see_also="$see_also" '
function replace_all(s, from, to,   out, i) {
    out = ""
    while ((i = index(s, from)) > 0) {
        out = out substr(s, 1, i - 1) to
        s = substr(s, i + length(from))
    }
    return out s
}
function esc(s) {
    s = replace_all(s, "\\", "\\e")
    if (s ~ /^[.\047]/)
        s = "\\&" s
    return s
}
function minus(s) { return replace_all(s, "-", "\\-") }
function trim(s) { sub(/^[ \t]+/, "", s); sub(/[ \t]+$/, "", s); return s }
# An option term: the options bold, their values italic.
function term(s,   n, w, k, t, out, comma) {
    if (s !~ /^-/)
        return "\\fB" esc(s) "\\fR"
    n = split(s, w, " ")
    out = ""
    for (k = 1; k <= n; k++) {
        t = w[k]
        comma = ""
        if (t ~ /,$/) { comma = ","; t = substr(t, 1, length(t) - 1) }
        if (t ~ /^-/)
            t = "\\fB" minus(esc(t)) "\\fR"
        else
            t = "\\fI" esc(t) "\\fR"
        out = out (k > 1 ? " " : "") t comma
    }
    return out
}
function heading(text,   upper) {
    text = substr(text, 1, length(text) - 1)
    upper = toupper(text)
    if (upper ~ /^(OPTIONS|COMMANDS|ENVIRONMENT|FILES|EXIT STATUS|EXAMPLES?|NOTES|BUGS)$/)
        print ".SH " upper
    else
        print ".SS \"" esc(text) "\""
}
function flush(   first) {
    if (nlines == 0)
        return
    first = 1
    # A short line ending in a colon heads the paragraph under it.
    if (para[1] ~ /^[A-Z][^:]*:$/ && length(para[1]) <= 40) {
        heading(para[1])
        first = 2
    }
    if (first <= nlines)
        print ".PP"
    for (k = first; k <= nlines; k++)
        print esc(para[k])
    nlines = 0
}
BEGIN {
    print ".TH \"" toupper(minus(name)) "\" \"1\" \"\" \"" product "\" \"User Commands\""
    print ".nh"
    print ".ad l"
    print ".SH NAME"
    print minus(name) " \\- " esc(summary)
    print ".SH SYNOPSIS"
    state = "start"
    nlines = 0
}
state != "body" && /^Usage: / {
    line = substr($0, 8)
    state = "usage"
}
state == "usage" && /^ +[^ ]/ && index(trim($0), name) == 1 {
    line = trim($0)
    print ".br"
}
state == "usage" && line != "" {
    split(line, w, " ")
    rest = trim(substr(line, length(w[1]) + 1))
    print ".B " minus(esc(w[1]))
    if (rest != "")
        print minus(esc(rest))
    line = ""
    next
}
state == "usage" && /^$/ { state = "body"; print ".SH DESCRIPTION"; next }
state == "start" {
    # No usage line: the synopsis is the bare name, the text all description.
    print ".B " minus(name)
    print ".SH DESCRIPTION"
    state = "body"
}
/^$/ { flush(); initem = 0; next }
/^  [^ ]/ {
    flush()
    text = substr($0, 3)
    gap = match(text, /  +/)
    if (gap > 0) {
        t = substr(text, 1, gap - 1)
        d = trim(substr(text, gap))
    } else {
        t = trim(text)
        d = ""
    }
    print ".TP"
    print term(t)
    if (d != "")
        print esc(d)
    initem = 1
    next
}
/^   / {
    flush()
    if (!initem)
        print ".PP"
    print esc(trim($0))
    initem = 1
    next
}
{
    if (initem) { initem = 0 }
    para[++nlines] = $0
}
END {
    flush()
    n = split(see_also, others, " ")
    if (n > 0) {
        print ".SH SEE ALSO"
        for (k = 1; k <= n; k++)
            print ".BR " minus(others[k]) " (1)" (k < n ? "," : "")
    }
}' | gzip -9n > "$output.part"
mv "$output.part" "$output"
