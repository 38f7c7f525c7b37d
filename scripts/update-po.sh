#!/usr/bin/env bash
# Gathers the farmer's paper's English texts (marked N_("...") in the code)
# into the template po/kbt2.pot, and merges it into each catalogue po/LL.po:
# a new text comes in untranslated, a changed one fuzzy (its English stands
# on the paper until a translator clears the flag), a dropped one obsolete.
# Then checks each catalogue as the build does.
#
#   scripts/update-po.sh           update po/kbt2.pot and po/*.po
#   scripts/update-po.sh --check   change nothing; fail when the template
#                                  misses or keeps a text the code does not,
#                                  or a catalogue lacks a translation
set -euo pipefail
cd "$(dirname "$0")/.."
check=false
case "${1:-}" in
'') ;;
--check) check=true ;;
*)
    echo "usage: scripts/update-po.sh [--check]" >&2
    exit 2
    ;;
esac
command -v xgettext >/dev/null || scripts/install-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sources=(commands/premium_warnings.h quote/*.cpp paint/*.cpp)
xgettext --language=C++ --from-code=UTF-8 --keyword= --keyword=N_ --add-comments=TRANSLATORS: \
  --sort-by-file --package-name=kbt2 --package-version=1.0.0 --msgid-bugs-address=none \
  --copyright-holder= -o "$work/kbt2.pot" "${sources[@]}"

# The texts of a template, without where they stand or when it was made.
texts() { msgcat --no-location --no-wrap --sort-output "$1" | grep -v '^"POT-Creation-Date'; }

if $check; then
  if ! diff -u <(texts po/kbt2.pot) <(texts "$work/kbt2.pot"); then
    echo "po/kbt2.pot is not the code's texts: run scripts/update-po.sh" >&2
    exit 1
  fi
  for po in po/*.po; do
    msgfmt --check -o /dev/null "$po"
    # Every text of the template translated, none fuzzy.
    msgcmp "$po" po/kbt2.pot
  done
  exit 0
fi

# A template whose texts did not change keeps its date.
texts po/kbt2.pot >"$work/old" 2>/dev/null || true
texts "$work/kbt2.pot" >"$work/new"
cmp -s "$work/old" "$work/new" || cp "$work/kbt2.pot" po/kbt2.pot
for po in po/*.po; do
  msgmerge --quiet --update --backup=none --previous "$po" po/kbt2.pot
  msgfmt --check --statistics -o /dev/null "$po"
done
