#!/usr/bin/env bash
# The desktop icon comes from the drawing of the Windows icon: at 16 and 32 pixels its PNG files
# hold exactly the pixels of glimmer.ico's two images, as ImageMagick decodes both.
#   desktop_icons.sh THEME_FOLDER GLIMMER_ICO
set -u
theme=$1
ico=$2
failures=0
for entry in 0:16 1:32; do
  index=${entry%%:*}
  size=${entry#*:}
  png=$theme/hicolor/${size}x$size/apps/glimmer.png
  if ! cmp -s <(convert "$ico[$index]" rgba:-) <(convert "$png" rgba:-); then
    echo "FAIL: the ${size}x$size PNG icon differs from the Windows icon's ${size}x$size image"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] || exit 1
echo "all checks passed"
