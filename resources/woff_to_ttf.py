#!/usr/bin/env python3
"""Unpacks a WOFF font into the plain TrueType file that the plug-in embeds.

Usage: woff_to_ttf.py input.woff output.ttf

The font's own timestamps are kept, so the same WOFF always gives the same
bytes and the embedded data does not change from build to build.

The typographic family and subfamily names (name IDs 16 and 17, "Spartan" and
"Medium") are left out: font engines such as FreeType report those in place of
the family "Spartan Medium" and subfamily "Regular" of IDs 1 and 2, and the
plug-in's font is to read as "Spartan Medium" everywhere.
"""

import sys

from fontTools.ttLib import TTFont


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)

    source, destination = sys.argv[1], sys.argv[2]
    font = TTFont(source, recalcTimestamp=False, recalcBBoxes=False)
    font.flavor = None
    font["name"].names = [record for record in font["name"].names if record.nameID not in (16, 17)]
    font.save(destination, reorderTables=True)


if __name__ == "__main__":
    main()
