#!/usr/bin/env bash
# Fails when a file of src/ includes from a layer above its own. The layers, lowest first:
#   window/, records/   standard library only
#   rules/              on window/ and records/
#   computer/           on rules/ (and what it stands on)
#   session/            on computer/ (and what it stands on)
#   net/                on session/ (and what it stands on)
#   qt/, headless/      on net/ (and what it stands on), never on each other
# Usage: check_layers.sh [SRC_DIR]
set -u
src=${1:-$(dirname "$0")/../../src}
declare -A may=(
  [window]="window"
  [records]="records"
  [rules]="rules window records"
  [computer]="computer rules window records"
  [session]="session computer rules window records"
  [net]="net session computer rules window records"
  [qt]="qt net session computer rules window records"
  [headless]="headless net session computer rules window records"
)
bad=0
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  layer=${rel%%/*}
  [ -n "${may[$layer]+x}" ] || { echo "$rel: not in any layer (window, records, rules, computer, session, net, qt, headless)"; bad=1; continue; }
  while IFS=: read -r line target; do
    to=${target%%/*}
    [ -n "${may[$to]+x}" ] || continue # a library's header or a sibling file
    case " ${may[$layer]} " in
      *" $to "*) ;;
      *) echo "$rel:$line: $layer/ may not include $target"; bad=1 ;;
    esac
  done < <(grep -n -o -E '^#include "[^"]+"' "$file" | sed -E 's/#include "([^"]+)"/\1/')
done < <(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
[ "$bad" -eq 0 ] && echo "every include points down a layer"
exit "$bad"
