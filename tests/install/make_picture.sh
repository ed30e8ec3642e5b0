#!/usr/bin/env bash
# make_picture.sh FILE: writes a 16x16 JPEG header whose EXIF shooting date is 2021:06:15
# 10:20:30 (enough for the picture reader), built byte by byte.
set -euo pipefail
{
  printf '\xff\xd8'                                   # start of image
  printf '\xff\xe1\x00\x48Exif\x00\x00'               # APP1, 72 bytes
  printf 'II\x2a\x00\x08\x00\x00\x00'                 # TIFF header, first IFD at 8
  printf '\x01\x00\x69\x87\x04\x00\x01\x00\x00\x00\x1a\x00\x00\x00\x00\x00\x00\x00'  # EXIF IFD at 26
  printf '\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00\x2c\x00\x00\x00\x00\x00\x00\x00'  # shooting date at 44
  printf '2021:06:15 10:20:30\x00'
  printf '\xff\xc0\x00\x11\x08\x00\x10\x00\x10\x03\x01\x11\x00\x02\x11\x00\x03\x11\x00'  # 16x16, 3 components
  printf '\xff\xd9'                                   # end of image
} > "$1"
