#!/usr/bin/env bash
# Makes a delay-load import library for a system DLL from mingw-w64's ordinary import library:
# its exports become a .def file, which dlltool turns into a library whose functions load the
# DLL on first use.
#   make-delay-lib.sh TRIPLE DLL_NAME IMPORT_LIB OUTPUT_LIB
set -euo pipefail
triple=$1 dll=$2 import_lib=$3 output=$4
def="${output%.a}.def"
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  "$triple-nm" "$import_lib" | awk '$2 == "T" && $3 !~ /^\./ { print $3 }' | sort -u
} >"$def"
"$triple-dlltool" --input-def "$def" --dllname "$dll" --output-delaylib "$output"
