#!/usr/bin/env bash
# The Windows printout under Wine, whose print path ends in the host's CUPS. The test prints
# the first list to the cups-pdf queue by name, whatever the host's default printer is, and
# says what the page must hold; the page is then read back out of the PDF the queue writes. Then, with CUPS out of
# Wine's reach so that no printer is left, it must offer the PDF file instead.
#   print-test.sh <tst_windowsprint.exe>
set -euo pipefail
exe="$1"
here="$(cd "$(dirname "$0")" && pwd)"
queue="${LISTORA_PRINT_QUEUE:-CUPS-PDF}"
# Where cups-pdf puts the jobs of this user (its Out setting).
pdfs="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
fail() { echo "FAIL: $*" >&2; exit 1; }

lpstat -r 2>/dev/null | grep -q "is running" || fail "CUPS is not running (./listora.sh windows-test starts it)"
lpstat -v "$queue" 2>/dev/null | grep -q 'cups-pdf:' || fail "no cups-pdf queue $queue (./listora.sh windows-test makes it)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
touch "$work/start"
sleep 1 # the new PDF's time must be later than the mark's

echo "--- the queue $queue"
# The program's own platform, as users run it: text goes to the printer as text in the
# system's fonts (offscreen would draw it as outlines, which no PDF reader can read back).
# Wine 8's PostScript driver crashes sending a font with CFF outlines, as the URW fonts that
# Ghostscript brings for cups-pdf are: Wine sees only the TrueType fonts here.
cat > "$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype</dir>
  <dir>/usr/share/wine/fonts</dir>
  <cachedir>$work/fontcache</cachedir>
</fontconfig>
CONF
FONTCONFIG_FILE="$work/fonts.conf" LISTORA_PRINT_QUEUE="$queue" LISTORA_EXPECTED_PAGE="Z:$work/expected.txt" \
    xvfb-run -a "$here/run-test.sh" "$exe" -platform windows "printFromTheMainWindow:the test's own queue"
[ -s "$work/expected.txt" ] || fail "the test said nothing about the page"
pdf=""
for _ in $(seq 120); do
    if [ -z "$(lpstat -o "$queue" 2>/dev/null)" ]; then
        pdf="$(find "$pdfs" -maxdepth 1 -name '*.pdf' -newer "$work/start" 2>/dev/null | head -n1)"
        [ -n "$pdf" ] && break
    fi
    sleep 0.5
done
[ -n "$pdf" ] || fail "the job reached no PDF in $pdfs within a minute"
# Compared without blanks or line ends: a PDF keeps no spacing exactly, and the summary line
# wraps where the path is long.
pdftotext -layout -enc UTF-8 "$pdf" "$work/page.txt"
rm -f "$pdf"
tr -d ' \t\r\n' < "$work/page.txt" > "$work/page.flat"
missing=0
while IFS= read -r line; do
    want="$(tr -d ' \t\r' <<<"$line")"
    if ! grep -qF -- "$want" "$work/page.flat"; then
        echo "not on the printed page: $line" >&2
        missing=1
    fi
done < "$work/expected.txt"
if [ "$missing" -ne 0 ]; then
    echo "The page read:" >&2
    cat "$work/page.txt" >&2
    fail "the printed page lacks lines"
fi
echo "the printed page holds the header, the entries and the summary line"

echo "--- no printer"
# Wine asks CUPS for the printers whenever a program loads the spooler, and drops those it
# added before that CUPS no longer lists; the next program that prints has them back.
CUPS_SERVER="$work/no-cups.sock" \
    "$here/run-test.sh" "$exe" -platform offscreen "printFromTheMainWindow:no printer"
