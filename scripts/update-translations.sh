#!/usr/bin/env bash
# Brings penmac's translation files (mac/qt/translations/penmac_<lang>.ts)
# up to date with the texts the desktop application shows through Tr(): a
# new text is added to every file as unfinished, for a translator to fill in
# (English is filled in with the text itself); a text no longer used stays,
# marked vanished, so that its translation is not lost. Then
#   scripts/update-translations.sh --check
# lists every text that some language still lacks (also a test of the
# native suite: penmac_translations).
#
#   scripts/update-translations.sh [--check] [--lupdate=PROGRAM] [--also=DIR] [--dry-run]
#
# --also=DIR reads the texts of DIR as well (with --check: the test that the
# check finds a text without translation).
# Tr("...") is a plain function over one translation context ("penmac"):
# lupdate would file its texts under the calling class's name, so it reads
# a copy of the sources in which each Tr( is the QT_TRANSLATE_NOOP of that
# context. --dry-run only checks the arguments.
# Exit status: 0 when done (with --check: nothing is missing), 1 when a text
# lacks a translation or lupdate failed, 2 on a bad argument.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

check= dry= lupdate= also=()
for arg in "$@"; do
  case $arg in
    --check) check=1 ;;
    --lupdate=*) lupdate=${arg#--lupdate=} ;;
    --also=*) also+=("$(cd "${arg#--also=}" && pwd)") || { echo "update-translations: no folder ${arg#--also=}" >&2; exit 2; } ;;
    --dry-run) dry=1 ;;
    *) echo "update-translations: unknown argument $arg (known: --check --lupdate=PROGRAM --also=DIR --dry-run)" >&2
       exit 2 ;;
  esac
done
[ -n "$dry" ] && exit 0

if [ -z "$lupdate" ]; then
  for p in /usr/lib/qt6/bin/lupdate "$(command -v lupdate6 || true)"; do
    [ -n "$p" ] && [ -x "$p" ] && { lupdate=$p; break; }
  done
fi
if [ -z "$lupdate" ] || [ ! -x "$lupdate" ]; then
  echo "update-translations: no lupdate (Debian: qt6-l10n-tools; scripts/setup.sh installs it)" >&2
  exit 1
fi

# Where the application's texts are: its Qt shell and its composition root.
source_dirs=(mac/qt app/penmac)
languages=(en fr de es zh_CN zh_TW)
ts_dir=$root/mac/qt/translations

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# copy_sources FROM TO: FROM's headers and sources, each Tr( made the
# context's QT_TRANSLATE_NOOP.
copy_sources() {
  mkdir -p "$2"
  (cd "$1" && find . -name '*.h' -o -name '*.cpp') | while read -r f; do
    mkdir -p "$2/$(dirname "$f")"
    sed -E 's/(\bpenmac::)?(\bqt::)?\bTr\(/QT_TRANSLATE_NOOP("penmac", /g' "$1/$f" >"$2/$f"
  done
}
for d in "${source_dirs[@]}"; do
  copy_sources "$root/$d" "$tmp/src/$d"
done
i=0
for d in "${also[@]}"; do
  i=$((i + 1))
  copy_sources "$d" "$tmp/src/also$i"
  source_dirs+=("also$i")
done

ts_files=()
for lang in "${languages[@]}"; do
  f=$ts_dir/penmac_$lang.ts
  if [ ! -f "$f" ]; then
    echo "update-translations: $f is missing" >&2
    exit 1
  fi
  if [ -n "$check" ]; then
    cp "$f" "$tmp/penmac_$lang.ts"
    ts_files+=("$tmp/penmac_$lang.ts")
  else
    ts_files+=("$f")
  fi
done

if ! (cd "$tmp/src" && "$lupdate" -silent -locations none -no-ui-lines -source-language en -extensions h,cpp \
      "${source_dirs[@]}" -ts "${ts_files[@]}") >"$tmp/lupdate.log" 2>&1; then
  cat "$tmp/lupdate.log" >&2
  echo "update-translations: lupdate failed" >&2
  exit 1
fi
# lupdate's warnings (a Tr() it could not read, say) are worth seeing.
grep -v -e '^\s*$' -e 'Ignoring definition of undeclared qualified class' "$tmp/lupdate.log" >&2 || true

# English is the texts' own language: its translation is the text.
en_fill() {
  perl -0pi -e 's{<source>([^<]*)</source>(\s*)<translation type="unfinished"></translation>}{<source>$1</source>$2<translation>$1</translation>}g' "$1"
}

# Prints the source of every message still unfinished in a .ts file.
unfinished() {
  perl -0ne 'while (m{<source>([^<]*)</source>\s*(?:<[a-z]*comment>[^<]*</[a-z]*comment>\s*)*<translation type="unfinished"}g) {
               my $s = $1; $s =~ s/&lt;/</g; $s =~ s/&gt;/>/g; $s =~ s/&quot;/"/g; $s =~ s/&apos;/\x27/g; $s =~ s/&amp;/&/g;
               $s =~ s/\n/\\n/g; print "\"$s\"\n" }' "$1"
}

if [ -z "$check" ]; then
  en_fill "$ts_dir/penmac_en.ts"
  for lang in "${languages[@]}"; do
    n=$(unfinished "$ts_dir/penmac_$lang.ts" | wc -l)
    [ "$n" -eq 0 ] || echo "update-translations: penmac_$lang.ts: $n texts to translate"
  done
  echo "update-translations: done; scripts/update-translations.sh --check lists what is left"
  exit 0
fi

en_fill "$tmp/penmac_en.ts"
missing=0
for lang in "${languages[@]}"; do
  while IFS= read -r text; do
    [ -n "$text" ] || continue
    echo "update-translations: $lang: no translation of $text"
    missing=$((missing + 1))
  done < <(unfinished "$tmp/penmac_$lang.ts")
done
if [ "$missing" -gt 0 ]; then
  echo "update-translations: $missing translations missing; run scripts/update-translations.sh, then translate (Qt Linguist or any editor) the texts marked unfinished in mac/qt/translations/"
  exit 1
fi
echo "update-translations: every text shown through Tr() has a translation in ${languages[*]}"
