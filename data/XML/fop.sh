#!/bin/sh
# Makes Zelvarion.pdf from Zelvarion.fo in this folder with the FO formatter (Debian's fop).
cd "$(dirname "$0")" || exit 1
exec fop -q -fo Zelvarion.fo -pdf Zelvarion.pdf
