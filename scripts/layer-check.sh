#!/usr/bin/env bash
# The layers of src/: every #include "..." of a source may name a file of its own folder or of a folder in a
# lower layer, never one beside it or above it. gui/'s folders have an order of their own inside gui/.
# Exit code 0 when every include keeps to the order; otherwise each wrong include is printed.
#   scripts/layer-check.sh [SRC_DIR]
set -euo pipefail
src=$(realpath "${1:-$(dirname "$0")/../src}")

# Top layer first; folders on one line lie beside each other. "." is the files directly in src/.
top_layers=(
  ". uninstall utility"
  "pages"
  "install"
  "shell"
  "controls"
  "gui duplicates payload record"
  "win32 runtime resources"
)
gui_layers=(
  "action bitmapimage button checkbox directorylist edit folderdialog frame iconimage label listbox listview
   menu pagecontrol panel picture progressbar statictext"
  "bitmap"
  "core"
  "access"
)

declare -A top_rank gui_rank
rank_layers() {  # array name, rank table name
  local -n layers=$1 table=$2
  local i folder
  for ((i = 0; i < ${#layers[@]}; i++)); do
    for folder in ${layers[i]}; do table[$folder]=$((${#layers[@]} - i)); done
  done
}
rank_layers top_layers top_rank
rank_layers gui_layers gui_rank

folder_of() {  # path relative to src/ -> its folder: ".", a top folder, or gui/<folder>
  local path=$1
  case $path in
    */*) ;;
    *) echo .; return ;;
  esac
  local first=${path%%/*} rest=${path#*/}
  if [ "$first" = gui ]; then
    case $rest in
      */*) echo "gui/${rest%%/*}" ;;
      *) echo gui/. ;;
    esac
  else
    echo "$first"
  fi
}

# Why `from` may not include from `to`, or nothing when it may.
refusal() {  # from, to
  local from=$1 to=$2
  [ "$from" = "$to" ] && return
  local table=top_rank a=$from b=$to
  if [[ $from == gui/* && $to == gui/* ]]; then
    table=gui_rank a=${from#gui/} b=${to#gui/}
  else
    a=${a%%/*} b=${b%%/*}
  fi
  local -n ranks=$table
  if [ -z "${ranks[$a]:-}" ]; then echo "$from has no place in the layers"; return; fi
  if [ -z "${ranks[$b]:-}" ]; then echo "$to has no place in the layers"; return; fi
  if ((ranks[$b] > ranks[$a])); then
    echo "$from may not include from $to, which lies above it"
  elif ((ranks[$b] == ranks[$a])); then
    echo "$from may not include from $to, which lies beside it"
  fi
}

wrong=0
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  from=$(folder_of "$rel")
  while IFS=: read -r line text; do
    [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
    name=${BASH_REMATCH[1]}
    if [ -e "$(dirname "$file")/$name" ]; then
      target=$(realpath -m --relative-to="$src" "$(dirname "$file")/$name")
    elif [ -e "$src/$name" ]; then
      target=$(realpath -m --relative-to="$src" "$src/$name")
    else
      continue  # not one of ours (a generated or system header)
    fi
    why=$(refusal "$from" "$(folder_of "$target")")
    if [ -n "$why" ]; then
      echo "src/$rel:$line includes $target: $why"
      wrong=$((wrong + 1))
    fi
  done < <(grep -n '#[[:space:]]*include' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0 | sort -z)

if [ "$wrong" -gt 0 ]; then
  echo "layers: $wrong include(s) against the order of src/'s folders (scripts/layer-check.sh)"
  exit 1
fi
echo "layers: every include of src/ names its own folder or one below it"
