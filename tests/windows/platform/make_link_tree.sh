#!/bin/sh
# Makes the folder-link tree the Windows walk tests use under Wine: target\inner.txt and link,
# a symbolic link to target.
set -eu
rm -rf "$1"
mkdir -p "$1/target"
echo x > "$1/target/inner.txt"
ln -s target "$1/link"
