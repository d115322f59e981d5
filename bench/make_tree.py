#!/usr/bin/env python3
"""Generates a benchmark tree: top folders holding subfolders, every folder holding files.
Names mix upper and lower case and carry umlauts, so collation and case have work to do.

    make_tree.py DIR TOP SUB FILES
makes TOP folders in DIR, SUB subfolders in each, and FILES files in every one of those
folders: TOP * (1 + SUB) folders and TOP * (1 + SUB) * FILES files. Existing trees are kept.
"""
import os
import sys

FOLDER_WORDS = ["Übersicht", "ablage", "Größen", "Zahlen", "öffentlich", "Bäume", "archiv",
                "Müller", "straße", "Ärger", "Kunden", "ausgabe"]
FILE_WORDS = ["Bericht", "änderung", "Zebra", "apfel", "Öl", "übung", "Maß", "notiz", "Äpfel",
              "Tabelle", "grün", "Bär", "README", "daten"]
EXTENSIONS = [".txt", ".TXT", ".pdf", ".Doc", ".csv", ".png", ""]


def folder_name(i):
    return "%s_%d" % (FOLDER_WORDS[i % len(FOLDER_WORDS)], i)


def fill(folder, files, seed):
    for j in range(files):
        k = seed * 7 + j * 13
        name = "%s %d%s" % (FILE_WORDS[k % len(FILE_WORDS)], k, EXTENSIONS[k % len(EXTENSIONS)])
        os.close(os.open(os.path.join(folder, name), os.O_CREAT | os.O_WRONLY, 0o644))


def main():
    root, top, sub, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    done = root.rstrip("/") + ".complete"
    if os.path.exists(done):
        return
    os.makedirs(root, exist_ok=True)
    seed = 0
    for t in range(top):
        upper = os.path.join(root, folder_name(t))
        os.makedirs(upper, exist_ok=True)
        fill(upper, files, seed)
        seed += 1
        for s in range(sub):
            lower = os.path.join(upper, folder_name(s + 1000))
            os.makedirs(lower, exist_ok=True)
            fill(lower, files, seed)
            seed += 1
    open(done, "w").close()


if __name__ == "__main__":
    main()
