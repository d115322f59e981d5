#!/usr/bin/env python3
"""Generates the benchmark trees, each once: a later call finds it complete and does nothing.

    make_tree.py SHAPE DIR

Shapes (names mix upper and lower case, blanks and umlauts, so collation and case have work):
  regular    100 folders of 199 subfolders each, 10 files in every folder (220,000 entries)
  irregular  20,000 folders, each placed under a randomly chosen earlier one, and 200,000
             files spread over them at random (220,000 entries)
  flat       one folder of 200,000 files
  1m         100 folders of 999 subfolders each, 9 files in every folder (1,000,000 entries)
  deep       a chain of 5,000 folders with 100-character names, one file in each (the bottom
             lies far beyond the longest path the system takes, so it is made step by step)
  small      the irregular shape with 2,000 entries, for the smoke run of the tests
  share      the irregular shape with 800 folders and 8,000 files, for the slow share
"""
import os
import random
import sys

FOLDER_WORDS = ["Übersicht", "ablage", "Größen", "Zahlen", "öffentlich", "Bäume", "archiv",
                "Müller", "straße", "Ärger", "Kunden", "ausgabe"]
FILE_WORDS = ["Bericht", "änderung", "Zebra", "apfel", "Öl", "übung", "Maß", "notiz", "Äpfel",
              "Tabelle", "grün", "Bär", "README", "daten"]
EXTENSIONS = [".txt", ".TXT", ".pdf", ".Doc", ".csv", ".png", ""]


def touch(path, dir_fd=None):
    os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o644, dir_fd=dir_fd))


def file_name(k):
    return "%s %d%s" % (FILE_WORDS[k % len(FILE_WORDS)], k, EXTENSIONS[k % len(EXTENSIONS)])


def folder_name(i):
    return "%s_%d" % (FOLDER_WORDS[i % len(FOLDER_WORDS)], i)


def regular(root, top, sub, files):
    seed = 0
    for t in range(top):
        upper = os.path.join(root, folder_name(t))
        os.makedirs(upper)
        for j in range(files):
            touch(os.path.join(upper, file_name(seed * 7 + j * 13)))
        seed += 1
        for s in range(sub):
            lower = os.path.join(upper, folder_name(s + 1000))
            os.mkdir(lower)
            for j in range(files):
                touch(os.path.join(lower, file_name(seed * 7 + j * 13)))
            seed += 1


def irregular(root, folders, files):
    chance = random.Random(7)
    made = [root]
    for i in range(folders):
        words = chance.sample(FOLDER_WORDS, 2)
        name = "%s %s %d" % (words[0], words[1].upper() if i % 3 == 0 else words[1], i)
        path = os.path.join(chance.choice(made), name)
        os.mkdir(path)
        made.append(path)
    for k in range(files):
        touch(os.path.join(chance.choice(made), file_name(k)))


def flat(root, files):
    for k in range(files):
        touch(os.path.join(root, file_name(k)))


def deep(root, levels):
    fd = os.open(root, os.O_RDONLY | os.O_DIRECTORY)
    for level in range(levels):
        name = ("Ebene %05d " % level) + "x" * 88 + "ä"  # 100 characters
        touch("Datei %d.txt" % level, dir_fd=fd)
        os.mkdir(name, dir_fd=fd)
        inner = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
        os.close(fd)
        fd = inner
    os.close(fd)


SHAPES = {
    "regular": lambda root: regular(root, 100, 199, 10),
    "irregular": lambda root: irregular(root, 20_000, 200_000),
    "flat": lambda root: flat(root, 200_000),
    "1m": lambda root: regular(root, 100, 999, 9),
    "deep": lambda root: deep(root, 5_000),
    "small": lambda root: irregular(root, 200, 1_800),
    "share": lambda root: irregular(root, 800, 8_000),
}


def main():
    shape, root = sys.argv[1], sys.argv[2]
    done = root.rstrip("/") + ".complete"
    if os.path.exists(done):
        return
    if os.path.exists(root):
        sys.exit("%s exists but is not complete: remove it and run again" % root)
    os.makedirs(root)
    SHAPES[shape](root)
    open(done, "w").close()


if __name__ == "__main__":
    main()
