#!/usr/bin/env bash
# Rules on the sources that the compiler cannot check. Prints every offending line; exit 1 when
# there is one.
#   check_sources.sh SOURCE_DIR RULE
set -u
src="$1/src"
case "$2" in
  elementary-functions)
    # Elementary functions of a float go through model/elementary.h: the float overloads and the
    # C library's float functions round differently from one platform to the next. A call on a
    # double is marked "in double" on its line.
    hits=$(grep -rnE '(std::|\b)(sin|cos|tan|asin|acos|atan|atan2|exp|log|log10|pow)f?\s*\(' \
             --include='*.cpp' --include='*.h' "$src" |
           grep -vE '^[^:]*/model/elementary\.h:|rounded::|in double|^[^:]*:[0-9]+:\s*//')
    ;;
  *)
    echo "unknown rule: $2" >&2
    exit 2
    ;;
esac
if [ -n "$hits" ]; then
  echo "$hits"
  exit 1
fi
