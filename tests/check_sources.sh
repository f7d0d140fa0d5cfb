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
  include-layering)
    # The subsystems depend on each other only downwards: a folder of src/ includes its own
    # headers and those of the folders below it; a folder not listed here, none at all. The
    # mechanics write nothing: no Sink there.
    below() {
      case "$1" in
        codec) echo 'codec' ;;
        catalogue) echo 'catalogue' ;;
        model) echo 'model|codec' ;;
        input | report | strength | export) echo "$1|catalogue|model|codec" ;;
        mechanics) echo 'mechanics|model' ;;
        driver) echo '[a-z_]+' ;;
        *) echo '(?!)' ;;
      esac
    }
    hits=""
    for dir in "$src"/*/; do
      folder=$(basename "$dir")
      allowed=$(below "$folder")
      found=$(grep -rnP '^\s*#\s*include\s*"' --include='*.cpp' --include='*.h' "$dir" |
              grep -vP "#\s*include\s*\"($allowed)/")
      [ -n "$found" ] && hits+="$found"$'\n'
    done
    found=$(grep -rn 'Sink' "$src/mechanics")
    [ -n "$found" ] && hits+="$found"$'\n'
    hits=${hits%$'\n'}
    ;;
  units-in-place)
    # A field keeps one unit for its whole life: the evaluation never scales a value in place
    # (x = x * k, x = k * x, x = x / k, x *= k, x /= k, x = degrees(x)); a conversion writes a
    # new field.
    hits=$(grep -rnP '^\s*((?:\(\*\w+\)|[\w.]+)(?:\([^()]*\))?)\s*=\s*(?:.*[*/]\s*\1(?![\w(])|\1\s*[*/]|\w+\(\1\))|[*/]=' \
             --include='*.cpp' --include='*.h' "$src"/{model,input,mechanics,strength,report})
    ;;
  no-turkish-text)
    # The computations hold no text for the reader: every Turkish word is worded in report/,
    # export/ or driver/.
    hits=$(grep -rnP '[çğıİöşüÇĞÖŞÜ]' --include='*.cpp' --include='*.h' "$src"/{model,mechanics})
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
