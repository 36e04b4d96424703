#!/usr/bin/env bash
# Each layer of the converter compiles against its own include folder: a
# header of a layer below (or its own) must be found there, a header of a
# layer above or beside must not, so that an include upward fails to build.
#   layer_includes_test.sh CXX LAYERS_DIR
set -uo pipefail
cxx=$1 layers=$2

# layer: the folders it may include besides its own
declare -A below=(
  [text]=""
  [platform]="text"
  [model]="text"
  [reading]="text model platform"
  [building]="text model platform reading"
  [writing]="text model platform"
  [driver]="text model platform reading building writing"
)
# One header of each folder that stands alone.
declare -A header=(
  [text]=text/path.h [platform]=platform/platform.h [model]=model/note.h
  [reading]=reading/build_settings.h [building]=building/folder_scan.h
  [writing]=writing/run_outputs.h [driver]=driver/messages.h
)

failures=0
for layer in "${!below[@]}"; do
  for folder in "${!header[@]}"; do
    allowed=no
    [ "$folder" = "$layer" ] && allowed=yes
    for one in ${below[$layer]}; do [ "$one" = "$folder" ] && allowed=yes; done
    if printf '#include "%s"\n' "${header[$folder]}" |
        "$cxx" -std=c++20 -fsyntax-only -I "$layers/$layer" -x c++ - 2>/dev/null; then
      found=yes
    else
      found=no
    fi
    if [ "$found" != "$allowed" ]; then
      echo "layer $layer including ${header[$folder]}: compiles: $found, allowed: $allowed"
      failures=$((failures + 1))
    fi
  done
done
[ $failures -eq 0 ] && echo "every layer sees exactly the layers below it"
exit $((failures > 0))
