#!/bin/sh
# Makes Zelvarion.pdf from Zelvarion.fo in this folder with the FO formatter (Debian's fop), with
# the fonts of fop.xconf so that captions in every script print as written (the formatter's own
# fonts, Latin only, when that file is gone).
cd "$(dirname "$0")" || exit 1
if [ -f fop.xconf ]; then
    exec fop -q -c fop.xconf -fo Zelvarion.fo -pdf Zelvarion.pdf
fi
exec fop -q -fo Zelvarion.fo -pdf Zelvarion.pdf
