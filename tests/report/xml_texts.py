"""Parses every XML part of a zip container (a workbook, an OpenDocument file)
as a reader must, and prints the text of each part on a line of its own, then
"well-formed". A part that is not well-formed XML ends it with an error.

    xml_texts.py FILE
"""
import sys
import zipfile
from xml.etree import ElementTree

sys.stdout.reconfigure(encoding="utf-8")
with zipfile.ZipFile(sys.argv[1]) as archive:
    for name in archive.namelist():
        if name.endswith(".xml"):
            root = ElementTree.fromstring(archive.read(name))
            print("".join(root.itertext()))
print("well-formed")
