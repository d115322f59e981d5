#!/bin/sh
# Makes the folder-link tree the Windows walk tests use under Wine: target\inner.txt and link,
# a symbolic link to target.
set -eu
rm -rf "$1"
mkdir -p "$1/target"
echo x > "$1/target/inner.txt"
ln -s target "$1/link"
# and swap\a\top, swap\b\top (a symbolic link to swap\S), swap\c\top, for swapping a found folder
mkdir -p "$1/swap/a/top" "$1/swap/b" "$1/swap/c/top" "$1/swap/S"
ln -s ../S "$1/swap/b/top"
