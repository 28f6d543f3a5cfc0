#!/bin/sh
# Writes a program's manual page from its own --help text, gzipped, so the
# page never tells a different story from the program.
#
#   man-from-help.sh PROGRAM NAME SUMMARY PRODUCT SEE_ALSO OUTPUT.1.gz
#
# How the help text is read:
# - "Usage: NAME ..." and the lines under it naming the program again make
#   the synopsis;
# - a short line at the margin ending in ':' is a heading: OPTIONS,
#   ENVIRONMENT, FILES and the like become sections, anything else a
#   subsection; under "Examples:" the indented lines are kept as they stand;
# - an indented line whose term is followed by two blanks and a text, or by
#   deeper indented lines, is an entry (an option, a command, a variable);
# - other lines are running text, and deeper indented lines after running
#   text (an example, a table) are kept as they stand.
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
function indent(s) { match(s, /^ */); return RLENGTH }
function blank(s) { return s ~ /^[ \t]*$/ }
# The term of an entry: options and the command word bold, values in
# capitals italic; a path or a variable bold as a whole.
function term(s,   n, w, k, t, out, comma) {
    if (s !~ /^[-a-z]/)
        return "\\fB" esc(s) "\\fR"
    n = split(s, w, " ")
    out = ""
    for (k = 1; k <= n; k++) {
        t = w[k]
        comma = ""
        if (t ~ /,$/) { comma = ","; t = substr(t, 1, length(t) - 1) }
        if (t ~ /^-/ || k == 1)
            t = "\\fB" minus(esc(t)) "\\fR"
        else if (t ~ /^[[]?[A-Z][A-Z0-9_.,|]*[]]?$/)
            t = "\\fI" esc(t) "\\fR"
        else
            t = esc(t)
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
    literal = (upper ~ /^EXAMPLES?$/)
}
# Lines from i on that sit deeper than depth, kept as they stand.
function literal_block(depth,   base) {
    base = indent(L[i])
    print ".RS"
    print ".nf"
    while (i <= N && !blank(L[i]) && indent(L[i]) > depth) {
        print minus(esc(substr(L[i], base + 1 <= indent(L[i]) ? base + 1 : indent(L[i]) + 1)))
        i++
    }
    print ".fi"
    print ".RE"
}
# Is the indented line i the start of an entry?
function is_entry(k,   text) {
    text = substr(L[k], indent(L[k]) + 1)
    if (text ~ /[^ ]  +[^ ]/)
        return 1
    return k < N && !blank(L[k + 1]) && indent(L[k + 1]) >= indent(L[k]) + 4 && text !~ /:$/
}
function entry(   depth, text, gap) {
    depth = indent(L[i])
    text = substr(L[i], depth + 1)
    gap = match(text, /[^ ]  +[^ ]/)
    print ".TP"
    if (gap > 0) {
        print term(substr(text, 1, gap))
        print esc(trim(substr(text, gap + 1)))
    } else {
        print term(trim(text))
    }
    i++
    while (i <= N && !blank(L[i]) && indent(L[i]) > depth + 1) {
        print esc(trim(L[i]))
        i++
    }
}
function running_text(   depth) {
    depth = indent(L[i])
    print ".PP"
    while (i <= N && !blank(L[i]) && indent(L[i]) == depth) {
        if (depth > 0 && is_entry(i))
            return
        print esc(trim(L[i]))
        i++
    }
    if (depth > 0 && i <= N && !blank(L[i]) && indent(L[i]) > depth)
        literal_block(depth)
}
{ L[++N] = $0 }
END {
    print ".TH \"" toupper(minus(name)) "\" \"1\" \"\" \"" product "\" \"User Commands\""
    print ".nh"
    print ".ad l"
    print ".SH NAME"
    print minus(name) " \\- " esc(summary)
    print ".SH SYNOPSIS"
    i = 1
    if (L[1] ~ /^Usage: /) {
        line = substr(L[1], 8)
        while (1) {
            split(line, w, " ")
            print ".B " minus(esc(w[1]))
            rest = trim(substr(line, length(w[1]) + 1))
            if (rest != "")
                print minus(esc(rest))
            i++
            if (i > N || L[i] !~ /^ +[^ ]/ || index(trim(L[i]), name) != 1)
                break
            line = trim(L[i])
            print ".br"
        }
    } else {
        print ".B " minus(name)
    }
    print ".SH DESCRIPTION"
    literal = 0
    while (i <= N) {
        if (blank(L[i])) {
            i++
        } else if (indent(L[i]) == 0 && L[i] ~ /^[A-Z][^:]*:$/ && length(L[i]) <= 40) {
            heading(L[i])
            i++
        } else if (indent(L[i]) == 0) {
            running_text()
        } else if (literal) {
            literal_block(0)
        } else if (is_entry(i)) {
            entry()
        } else {
            running_text()
        }
    }
    n = split(see_also, others, " ")
    if (n > 0) {
        print ".SH SEE ALSO"
        for (k = 1; k <= n; k++)
            print ".BR " minus(others[k]) " (1)" (k < n ? "," : "")
    }
}' | gzip -9n > "$output.part"
mv "$output.part" "$output"
