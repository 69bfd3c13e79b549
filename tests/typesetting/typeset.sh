#!/usr/bin/env bash
# Typesets a document written by umbrix with a real pdflatex and reads the PDF back.
#
#   typeset.sh UMBRIX CASE
#
# A case passes when umbrix succeeds, pdflatex reports no error and no missing glyph, the PDF
# exists (the empty document has no pages and so no PDF), its text holds the case's expected
# sentences and formulas in order, and it holds every line of the .TEX file in order (headings,
# sentences and the start of every formula, translated to the characters that pdftotext reads).
# Overfull lines are reported, not failed: TeX cannot break a formula without a connective.
# A document that names the laws may have no more overfull lines than the same document
# without them, and its PDF reads each law behind its step.
# Exit code 77 (a skip) only when pdflatex or pdftotext is not installed.
set -euo pipefail
export LC_ALL=C

umbrix=$(realpath "$1")
case_name=$2

for tool in pdflatex pdftotext; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is not installed; skipping (tools/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL [$case_name]: $*" >&2
  exit 1
}

# Writes N formulas chained by "==", x1==x2==...==xN.
equivalence_chain() {
  local chain=x1 i
  for ((i = 2; i <= $1; i++)); do chain+="==x$i"; done
  printf '%s' "$chain"
}

# The German sentences of one formula's block, in the order they are written.
block_sentences() {
  printf '%s\n' "Dies ist eine disjunktive Umbrix." \
    "Zusammenfassen der mehrfach vorkommenden Literale ergibt:" \
    "Nun zur konjunktiven Umbrix..." \
    "Damit haben wir auch eine konjunktive Umbrix gefunden." \
    "Zusammenfassen der mehrfach vorkommenden Literale ergibt:"
}

# Each heading is read together with the formula that follows it.
# The expected text of the five sample formulas; the same in every mode, since every mode
# starts from the same parsed formula and ends in the same simplified normal forms.
samples_expected() {
  echo "1. Formel ¬X2∧X1"; block_sentences; echo "∼¬X2∧X1"
  echo "2. Formel X1∨(X2∧X3)"; echo "Dies ist eine disjunktive Umbrix."
  echo "∼(X2∧X3)∨X1"; echo "Nun zur konjunktiven Umbrix..."; echo "∼(X1∨X2)∧(X1∨X3)"
  echo "3. Formel X1←X2∨X3"; echo "∼X2∨X3→X1"; echo "∼¬(X2∨X3)∨X1"
  echo "Dies ist eine disjunktive Umbrix."; echo "∼(¬X2∧¬X3)∨X1"
  echo "Damit haben wir auch eine konjunktive Umbrix gefunden."; echo "∼(¬X2∨X1)∧(¬X3∨X1)"
  echo "4. Formel X1↔X2∧X3"; echo "∼((X2∧X3)→(X1))∧((X1)→(X2∧X3))"
  echo "Dies ist eine disjunktive Umbrix."; echo "∼(¬X1∧¬X2)∨(¬X1∧¬X3)∨(X1∧X2∧X3)"
  echo "Damit haben wir auch eine konjunktive Umbrix gefunden."
  echo "∼(¬X1∨¬X2∨X3)∧(¬X1∨¬X3∨X2)∧(¬X1∨X2)∧(¬X1∨X3)∧(¬X2∨¬X3∨X1)"
  echo "5. Formel X1→X2"; echo "∼¬(X1)∨X2"; block_sentences; echo "∼¬X1∨X2"
}

expect_pdf=yes
without_laws=""     # the same document without laws, whose overfull lines are the limit
text_order=""       # -raw: the PDF's text in the order set, flush-right laws behind their step
kv_diagrams=""      # how many KV diagrams the document draws
: >expected.txt
case $case_name in
  samples-m0 | samples-m1 | samples-m2)
    "$umbrix" -m "${case_name#samples-m}" -o doc 2>/dev/null || fail "umbrix exited with $?"
    samples_expected >expected.txt
    ;;
  headings)
    "$umbrix" -o doc -- "x1=>x2" "-x12v(x3+x4)" 2>/dev/null || fail "umbrix exited with $?"
    { echo "1. Formel X1→X2"; block_sentences; echo "∼¬X1∨X2"
      echo "2. Formel ¬X12∨(X3∧X4)"; block_sentences; } >expected.txt
    ;;
  empty-input)
    : >input.txt
    "$umbrix" -i input.txt -o doc 2>/dev/null || fail "umbrix exited with $?"
    expect_pdf=no
    ;;
  empty-line)
    # Two blank lines in a row leave one empty line, processed as the empty formula X_{}.
    printf 'x1\n\n\nx2\n' >input.txt
    "$umbrix" -i input.txt -o doc 2>/dev/null || fail "umbrix exited with $?"
    { echo "1. Formel X1"; echo "2. Formel X∼X"; block_sentences
      echo "3. Formel X2"; } >expected.txt
    ;;
  large-steps)
    # Some 300 formula lines, about half a megabyte.
    "$umbrix" -m 0 -o doc -- "$(equivalence_chain 6)" 2>/dev/null || fail "umbrix exited with $?"
    { echo "X1↔X2↔X3↔X4↔X5↔X6"; block_sentences; } >expected.txt
    ;;
  large-line)
    # Normal forms of 512 members: formula lines of some 120,000 characters each.
    "$umbrix" -m 2 -o doc -- "$(equivalence_chain 10)" 2>/dev/null || fail "umbrix exited with $?"
    { echo "X1↔X2↔X3↔X4↔X5↔X6↔X7↔X8↔X9↔X10"; block_sentences; } >expected.txt
    ;;
  longest-line)
    # Normal forms of 1024 members: formulas longer than TeX's input buffer of 200,000
    # characters, which the document breaks into several lines.
    "$umbrix" -m 2 -o doc -- "$(equivalence_chain 11)" 2>/dev/null || fail "umbrix exited with $?"
    { echo "X1↔X2↔X3↔X4↔X5↔X6↔X7↔X8↔X9↔X10↔X11"; block_sentences; } >expected.txt
    ;;
  longest-formula)
    # Normal forms of 2048 members: formulas of some 600,000 characters, more than TeX keeps
    # of one paragraph, which the document sets as several paragraphs.
    "$umbrix" -m 2 -o doc -- "$(equivalence_chain 12)" 2>/dev/null || fail "umbrix exited with $?"
    grep -qE $'\\\\(vee|wedge) [$]\r' DOC.TEX || fail "no formula was split into paragraphs"
    { echo "X1↔X2↔X3↔X4↔X5↔X6↔X7↔X8↔X9↔X10↔X11↔X12"; block_sentences; } >expected.txt
    ;;
  member-limit)
    # The conjunctive normal form would need more than 32767 members: the run stops with exit
    # code 4, and the document ends with a paragraph saying why.
    status=0
    "$umbrix" -m 0 -o doc -- "(x1vx2)+(x3vx4)+(x5vx6)+(x7vx8)" 2>/dev/null || status=$?
    [ $status -eq 4 ] || fail "umbrix exited with $status instead of 4"
    { echo "X1∨X2"; echo "Dies ist eine disjunktive Umbrix."; echo "Nun zur konjunktiven Umbrix..."
      echo "Abbruch. Die Umformung endet hier beim Umformen"; } >expected.txt
    ;;
  ergebnis-abbruch)
    # The same stop with "Ergebnis": the block still ends with the section, computed from the
    # input itself.
    status=0
    "$umbrix" -e -m 2 -o doc -- "(x1vx2)+(x3vx4)+(x5vx6)+(x7vx8)" 2>/dev/null || status=$?
    [ $status -eq 4 ] || fail "umbrix exited with $status instead of 4"
    { echo "Abbruch. Die Umformung endet hier beim Umformen"; echo "Ergebnis"
      echo "DieHerleitungistabgebrochen."; echo "MinimaledisjunktiveForm:(X1∧X3∧X5∧X7)∨"
      echo "MinimalekonjunktiveForm:(X1∨X2)∧(X3∨X4)∧(X5∨X6)∧(X7∨X8)"; echo "Probe:Alle"; } >expected.txt
    ;;
  gesetze-m0 | gesetze-m2)
    # Laws behind steps that fill their lines, behind a formula that cannot be broken, and
    # behind short steps; one law holds quotation marks, others umlauts. The last formula has
    # steps whose list of laws is longer than a line.
    nested=$(printf -- '-(%.0s' {1..60})x1$(printf ')%.0s' {1..60})
    formulas=("(x1vx2)+(x1v-x2)" "$(equivalence_chain 4)" "$nested" "x1<=x2" "((C∨D)∧(A→D))↔(C→A)")
    "$umbrix" -g -m "${case_name#gesetze-m}" -o doc -- "${formulas[@]}" 2>/dev/null || fail "umbrix exited with $?"
    "$umbrix" -m "${case_name#gesetze-m}" -o plain -- "${formulas[@]}" 2>/dev/null || fail "umbrix exited with $?"
    without_laws=PLAIN.TEX
    text_order=-raw
    umlaut_a=$'A\xcc\x88'  # pdftotext reads the accented letter as A and a combining diaeresis
    { echo "1. Formel"; echo "Distributivgesetz"; echo "Komplementgesetz"; echo "keine${umlaut_a}nderung"
      echo "2. Formel"; echo "Umformungder${umlaut_a}quivalenz"; echo "UmformungderImplikation"
      echo "3. Formel"; echo "∼X1Doppelte Negation"
      echo "4. Formel"; echo "∼X2→X1Umformungvon"; echo "folgtaus"; echo "UmformungderImplikation"
    } >expected.txt
    ;;
  ergebnis)
    # The section "Ergebnis": absorption steps, minimal forms, a truth table of two columns
    # and of two blocks (six variables), the canonical forms and the check line.
    "$umbrix" -e -m 2 -o doc -- "(x1vx2)+(x1v-x2)" "(x1+x2)v(-x1+x3)v(x2+x3)" "x1+x2+x3+x4+x5+-x6" \
      2>/dev/null || fail "umbrix exited with $?"
    { echo "1. Formel (X1∨X2)∧(X1∨¬X2)"; block_sentences; echo "Ergebnis"
      echo "∼(X1∧X2)∨X1(¬X2∧X1wirdvonX1absorbiert)"; echo "MinimaledisjunktiveForm:X1"
      echo "Wahrheitstafel(1wahr,0falsch,FdieFormel):X10011X20101F0011"
      echo "KanonischedisjunktiveNormalform(Minterme):(X1∧¬X2)∨(X1∧X2)"
      echo "Probe:Alle16FormelnderHerleitungunddesErgebnissessind"  # umlauts: letter and accent
      echo "2. Formel"; echo "MinimaledisjunktiveForm:(X1∧X2)∨(¬X1∧X3)"
      echo "3. Formel"  # two blocks of 32 rows, read column by column
      echo "F$(printf '0%.0s' {1..32})"; echo "F$(printf '0%.0s' {1..30})10"
      echo "DiekanonischenNormalformenwerdennurf"; echo "4Variablengezeigt;dieseFormelhat6."
      echo "Probe:Alle"; } >expected.txt
    ;;
  pdf-option)
    # umbrix typesets the document itself: the PDF replaces the old one whole, through a hidden
    # file beside it, and pdflatex's temporary folder is gone afterwards.
    mkdir tmp
    printf 'altes PDF' >DOC.pdf
    TMPDIR="$work/tmp" "$umbrix" --pdf -o doc -- "x1=>x2" 2>/dev/null || fail "umbrix --pdf exited with $?"
    [ "$(head -c 5 DOC.pdf)" = "%PDF-" ] || fail "DOC.pdf is no PDF"
    [ -z "$(ls -A tmp)" ] || fail "left in the temporary folder: $(ls -A tmp)"
    [ -z "$(ls -A | grep '^[.]' || true)" ] || fail "hidden files left: $(ls -A | grep '^[.]')"
    rmdir tmp
    { echo "X1→X2"; block_sentences; } >expected.txt
    ;;
  ergebnis-kv)
    # The section's KV diagrams and Quine–McCluskey tables for three, five and six variables;
    # the diagrams need kvmacros.tex from texlive-science. Without it the document still
    # typesets and says so in place of each diagram.
    if ! kpsewhich kvmacros.tex >/dev/null; then
      echo "kvmacros.tex is not installed; skipping (tools/install-deps.sh installs texlive-science)"
      exit 77
    fi
    # The last formula gives the longest tables: 665 terms in six rounds.
    "$umbrix" -e -m 2 -o doc -- "(a∨b)∧¬c" "x1+x2+x3+x4+x5" "(a+b)v(c+-d)v(e+f)v(-a+-f)" \
      "x1vx2vx3vx4vx5vx6" 2>/dev/null || fail "umbrix exited with $?"
    sed 's/IfFileExists{kvmacros.tex}/IfFileExists{kvmacros-fehlt.tex}/' DOC.TEX >NOKV.TEX
    { echo "1. Formel"; echo "KV-DiagrammderminimalendisjunktivenForm:einBlock"; echo "BlockA:a∧¬c"
      echo "BlockB:b∧¬c"; echo "KV-DiagrammderminimalenkonjunktivenForm:einBlock"; echo "BlockA:a∨b"
      echo "BlockB:¬c"; echo "Quine-McCluskey-Verfahren"; echo "Einsen"; echo "1.Zusammenfassung"
      echo "Primimplikanten(dieTermeohneHaken):"; echo "P1"; echo "P2"; echo "Primimplikantentafel"
      echo "WesentlichePrimimplikanten:P1,P2."; echo "P1,P2;dasistdieminimaledisjunktiveForm."
      echo "2. Formel"; echo "zweiDiagramme"; echo "X1=0"; echo "X1=1"; echo "BlockA:X1∧X2∧X3∧X4∧X5"
      echo "3. Formel"; echo "vierDiagramme"; echo "a=0,b=0"; echo "a=0,b=1"; echo "a=1,b=0"; echo "a=1,b=1"
      echo "BlockA:a∧b"; echo "Probe:Alle"; echo "4. Formel"; echo "5.Zusammenfassung"
      echo "WesentlichePrimimplikanten:P1,P2,P3,P4,P5,P6."; } >expected.txt
    kv_diagrams=8
    ;;
  pruefen)
    # A checked derivation (umbrix --pruefen -o): right steps with their laws, a wrong one with
    # its counterexample and mistake, unreadable lines quoting what was typed (LaTeX's special
    # characters among it), constants, X-indexes, and the sentences that end each derivation.
    printf '%s\n' 'p→q' '¬p∨q' '¬(p∧¬q)' '' '¬(a∧b)' '¬a∧¬b' '(a∧' '"x" & b_1 % $' 'a∨b' '' \
      'x1+(x2vx3)' '(x1+x2)v(x1+x3)' 'wv(x1+x2)v(x1+x3)' >input.txt
    status=0
    "$umbrix" --pruefen --hinweis -i input.txt -o doc >/dev/null 2>&1 || status=$?
    [ $status -eq 1 ] || fail "umbrix exited with $status instead of 1 (a line cannot be read)"
    { echo "Herleitung 1"; echo "Aufgabe: p→q"; echo "¬p∨q"; echo "richtig: Umformung der Implikation"
      echo "¬(p∧¬q)"; echo "richtig: De Morgansches Gesetz, Doppelte Negation"; echo "Alle 2 Schritte sind richtig."
      echo "Herleitung 2"; echo "¬a∧¬b"; echo "falsch"; echo "Gegenbeispiel: a = falsch, b = wahr."
      echo "Fehler: De Morgan: Verkn"; echo "aus ¬(a∧b) wird ¬a∨¬b, nicht ¬a∧¬b."
      echo "Diese Zeile kann nicht gelesen werden (Zeile 7, Spalte 4)"
      echo "Diese Zeile kann nicht gelesen werden (Zeile 8, Spalte 1)"
      echo "falsch (verglichen mit Zeile 6)"; echo "Herleitung 3"; echo "Aufgabe: X1∧(X2∨X3)"
      echo "richtig: Distributivgesetz"; echo "⊤∨(X1∧X2)∨(X1∧X3)"; echo "falsch"; } >expected.txt
    ;;
  nested)
    # Sixty nested negations: the parsed formula has no place where TeX may break it.
    nested=$(printf -- '-(%.0s' {1..60})x1$(printf ')%.0s' {1..60})
    "$umbrix" -o doc -- "$nested" 2>/dev/null || fail "umbrix exited with $?"
    { echo "¬(¬(¬(¬(¬("; echo "∼¬¬X1"; echo "∼X1"; block_sentences; } >expected.txt
    ;;
  *)
    fail "unknown case"
    ;;
esac

[ -f DOC.TEX ] || fail "umbrix wrote no DOC.TEX"

if ! pdflatex -interaction=nonstopmode -halt-on-error -no-shell-escape DOC.TEX >pdflatex.out 2>&1; then
  grep -A3 '^!' DOC.log >&2 || tail -20 pdflatex.out >&2
  fail "pdflatex reported an error"
fi
if grep -q '^!' DOC.log; then
  grep -A3 '^!' DOC.log >&2
  fail "the log holds an error"
fi
if grep -q 'Missing character' DOC.log; then
  grep 'Missing character' DOC.log | head -5 >&2
  fail "a glyph is missing from a font"
fi

overfull=$(grep -c '^Overfull \\hbox' DOC.log || true)
if [ -n "$without_laws" ]; then
  pdflatex -interaction=nonstopmode -halt-on-error -no-shell-escape "$without_laws" >/dev/null 2>&1 ||
    fail "pdflatex reported an error in $without_laws"
  limit=$(grep -c '^Overfull \\hbox' "${without_laws%.TEX}.log" || true)
  [ "$overfull" -le "$limit" ] || fail "$overfull overfull lines with laws, $limit without them"
fi
tex_size=$(wc -c <DOC.TEX)
if [ $expect_pdf = no ]; then
  [ ! -f DOC.pdf ] || fail "a document without formulas gave a PDF"
  grep -q 'No pages of output' DOC.log || fail "pdflatex did not report an empty document"
  echo "[$case_name] TEX $tex_size bytes, no pages of output"
  exit 0
fi
[ -s DOC.pdf ] || fail "no PDF"
pages=$(grep -o 'Output written on DOC.pdf ([0-9]* page' DOC.log | grep -o '[0-9]* page' | cut -d' ' -f1)
echo "[$case_name] TEX $tex_size bytes, PDF $(wc -c <DOC.pdf) bytes, $pages pages, $overfull overfull hbox(es)"
grep -A1 '^Overfull \\hbox' DOC.log | grep -o '([0-9.]*pt too wide) in paragraph at lines [0-9-]*' |
  head -5 | sed 's/^/  overfull /' || true

pdftotext $text_order -enc UTF-8 DOC.pdf - | tr -d ' \t\r\n\f' >pdf.txt

# The .TEX lines as pdftotext reads them: headings, sentences, the first 40 bytes of a formula
# (a long formula's paragraph may cross a page, where the page number is read into its text).
awk '
  function replace(text, find, by,    at, result) {
    result = ""
    while ((at = index(text, find)) > 0) {
      result = result substr(text, 1, at - 1) by
      text = substr(text, at + length(find))
    }
    return result text
  }
  { sub(/\r$/, "") }
  /^\\textbf\{[0-9]+\. Formel\}/ { sub(/^\\textbf\{/, ""); sub(/\}.*/, ""); print; next }
  /^\$/ && !/&/ {
    line = $0
    sub(/\\gesetz\{.*/, "", line)
    sub(/ \\quad.*/, "", line)  # the note of an absorption step
    n = split("\\leftrightarrow |↔|\\leftarrow |←|\\rightarrow |→|\\wedge |∧|\\vee |∨|\\neg |¬|" \
              "\\bot|⊥|\\top|⊤|\\sim|∼|X_{|X|}||$|| |", pair, "|")
    for (i = 1; i < n; i += 2) line = replace(line, pair[i], pair[i + 1])
    print substr(line, 1, 40)
    next
  }
  /^[A-Z][a-z]/ { sub(/\\vspace\{5mm\}$/, ""); if (index($0, "\\") == 0 && index($0, "$") == 0) print }
' DOC.TEX >document_lines.txt

# Checks that the lines of the file $1 occur in pdf.txt in this order (blanks ignored).
check_in_order() {
  tr -d ' \t\r' <"$1" | awk -v text_file=pdf.txt '
    BEGIN { getline text < text_file; position = 1 }
    $0 == "" { next }
    {
      at = index(substr(text, position), $0)
      if (at == 0) { print "not found (in order): " $0 > "/dev/stderr"; failed = 1; exit }
      position += at - 1 + length($0)
      found++
    }
    END { if (failed) exit 1; print "  " found " lines found in order" }'
}

check_in_order expected.txt || fail "the PDF lacks an expected text"
check_in_order document_lines.txt || fail "the PDF lacks a line of the document"

if [ -n "$kv_diagrams" ]; then
  # Every diagram is drawn: none stands in as the sentence for a missing package, and between
  # the first caption and its blocks stand the eight minterm numbers and eight values.
  [ "$(grep -o 'KV-Diagramm' pdf.txt | wc -l)" -eq "$kv_diagrams" ] || fail "not $kv_diagrams KV captions"
  ! grep -q 'Hierst' pdf.txt || fail "a KV diagram was not drawn"
  # No drawing beyond what the picture mode has, and no table taller than the page.
  ! grep -q 'size unavailable' DOC.log || fail "the log warns of a picture size"
  ! grep -q '^Overfull \\vbox' DOC.log || fail "a figure is taller than the page"
  picture=$(<pdf.txt)
  picture=${picture#*KV-DiagrammderminimalendisjunktivenForm}
  picture=${picture%%BlockA:*}
  [ "$(tr -cd '0-9' <<<"$picture" | wc -c)" -ge 16 ] || fail "the first diagram lacks its cells: $picture"
  # Without kvmacros.tex the document typesets and says in each diagram's place what it needs.
  pdflatex -interaction=nonstopmode -halt-on-error -no-shell-escape NOKV.TEX >/dev/null 2>&1 ||
    fail "pdflatex reported an error without kvmacros.tex"
  [ "$(pdftotext -enc UTF-8 NOKV.pdf - | tr -d ' \t\r\n\f' | grep -o 'texlive-science' | wc -l)" -eq "$kv_diagrams" ] ||
    fail "without kvmacros.tex the document does not name the package in place of each diagram"
  echo "  $kv_diagrams KV diagrams drawn; without kvmacros.tex each names the package"
fi
