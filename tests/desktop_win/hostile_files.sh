#!/usr/bin/env bash
# Files the batch dialog's tests cannot make from inside Wine: a .txt name whose reads fail
# (a link to /proc/self/mem, which opens and then answers every read at offset 0 with an
# error) and a small file system that is nearly full, holding an earlier export. Run as
# "setup DIR" before the window tests and "cleanup DIR" after them. Mounting needs root;
# without it the full disk is missing and the test that needs it says it was skipped.
set -u
action=$1 dir=$2
full=$dir/full-disk
case $action in
setup)
  mountpoint -q "$full" && umount "$full"
  rm -rf "$dir"
  mkdir -p "$full"
  ln -s /proc/self/mem "$dir/unreadable.txt"
  if mount -t tmpfs -o size=128k,mode=0777 tmpfs "$full" 2>/dev/null; then
    printf 'earlier export\r\n' >"$full/batch.txt"
    # Leave about 24 KB free: enough to create a file, not to write an export of 50 KB.
    dd if=/dev/zero of="$full/filler" bs=4k count=24 status=none
    touch "$full/mounted"
  else
    echo "hostile_files.sh: cannot mount a small file system here (not root?); the full-disk case is skipped"
  fi
  ;;
cleanup)
  mountpoint -q "$full" && umount "$full"
  rm -rf "$dir"
  ;;
esac
exit 0
