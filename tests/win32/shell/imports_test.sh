#!/usr/bin/env bash
# pelloxss.scr imports at load time only DLLs that Windows never takes from the program's own
# folder (known DLLs, and common controls through the manifest); GDI+ and Uniscribe are delay-loaded after
# start-up has limited the search to System32. No runtime DLL travels with it.
#   imports_test.sh OBJDUMP PELLOXSS.scr
set -euo pipefail
objdump=$1 scr=$2
allowed=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll "
status=0
while read -r dll; do
  case "$allowed" in
    *" ${dll,,} "*) ;;
    *) echo "imported at load time: $dll"; status=1 ;;
  esac
done < <("$objdump" -p "$scr" | awk '/DLL Name:/ { print $3 }')
# GNU ld leaves the delay-import directory entry empty; the descriptor's DLL name is there.
for dll in gdiplus usp10; do
  if ! grep -qa "$dll\.dll" "$scr"; then
    echo "$dll.dll is not named among the delay-loaded DLLs"; status=1
  fi
done
exit $status
