#!/bin/sh
# Makes Zelvarion.pdf from Zelvarion.fo in this folder with the FO formatter (Debian's fop), with
# the fonts of fop.xconf so that captions in every script print as written.
cd "$(dirname "$0")" || exit 1
exec fop -q -c fop.xconf -fo Zelvarion.fo -pdf Zelvarion.pdf
