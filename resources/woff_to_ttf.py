#!/usr/bin/env python3
"""Unpacks a WOFF font into the plain TrueType file that the plug-in embeds.

Usage: woff_to_ttf.py input.woff output.ttf

The font's own timestamps are kept, so the same WOFF always gives the same
bytes and the embedded data does not change from build to build.
"""

import sys

from fontTools.ttLib import TTFont


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)

    source, destination = sys.argv[1], sys.argv[2]
    font = TTFont(source, recalcTimestamp=False, recalcBBoxes=False)
    font.flavor = None
    font.save(destination, reorderTables=True)


if __name__ == "__main__":
    main()
