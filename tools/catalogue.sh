#!/usr/bin/env bash
# The translators' catalogues (po/<language>.po) against the game's sources, with gettext's own
# tools. Every text the player reads is written in Japanese in the sources, inside Tx(...),
# TxQ(...) or TX_NOOP(...); that text is the message a catalogue translates.
#
#   tools/catalogue.sh pot OUT.pot   extract the messages from the sources into a template
#   tools/catalogue.sh update        bring every po/*.po up to the sources (msgmerge), for
#                                    translators: new messages arrive untranslated
#   tools/catalogue.sh check DIR     fail when a catalogue is malformed or its placeholders differ
#                                    from the Japanese (msgfmt --check), when a message of the
#                                    sources has no translation, or when a catalogue translates a
#                                    message the sources no longer have; DIR takes the template
set -euo pipefail
cd "$(dirname "$0")/.."

# gettext warns about every "\r" in a message; the message box breaks its lines on them, so the
# warning says nothing here.
quiet() {
  "$@" 2> >(grep -v "'\\\\r' escape sequence" >&2)
}

pot() {
  # --qt marks every message qt-format, so msgfmt checks that a translation keeps the %1..%9 of
  # its Japanese.
  find src tools/make_pictures -name '*.cpp' -o -name '*.h' | LC_ALL=C sort |
    quiet xgettext --files-from=- --language=C++ --qt --from-code=UTF-8 --keyword= --keyword=Tx \
      --keyword=TxQ --keyword=TX_NOOP --add-comments=TRANSLATORS: --add-location=file --no-wrap --sort-by-file \
      --package-name=quelmarin \
      --msgid-bugs-address=https://github.com/tellivar/quelmarin/issues -o "$1"
}

case "${1:-}" in
  pot)
    pot "$2"
    ;;
  update)
    out=$(mktemp -d)
    trap 'rm -rf "$out"' EXIT
    pot "$out/quelmarin.pot"
    for po in po/*.po; do
      quiet msgmerge --quiet --update --backup=none --no-wrap "$po" "$out/quelmarin.pot"
    done
    ;;
  check)
    mkdir -p "$2"
    pot "$2/quelmarin.pot"
    status=0
    for po in po/*.po; do
      quiet msgfmt --check --output-file=/dev/null "$po" || status=1
      # Every message of the game is translated ...
      quiet msgcmp "$po" "$2/quelmarin.pot" || status=1
      # ... and the catalogue translates nothing the game no longer says.
      stale=$(quiet msgcomm --less-than=2 --unique --no-wrap "$po" "$2/quelmarin.pot" |
        msgcomm --no-wrap --more-than=1 - "$po" 2>/dev/null | grep -c '^msgid "..*"$' || true)
      if [ "${stale:-0}" -gt 0 ]; then
        echo "$po: $stale message(s) the sources no longer have; run tools/catalogue.sh update"
        status=1
      fi
    done
    exit $status
    ;;
  *)
    echo "usage: tools/catalogue.sh pot OUT.pot | update | check DIR" >&2
    exit 2
    ;;
esac
