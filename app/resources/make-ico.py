#!/usr/bin/env python3
# Packs the rendered PNG icons into pagewick.ico for the Windows resources: an icon directory
# whose entries are the PNG files themselves, which Windows Vista and later read as they are.
import struct
from pathlib import Path

here = Path(__file__).parent
images = [(size, (here / f"pagewick-{size}.png").read_bytes()) for size in (48, 128, 256)]
offset = 6 + 16 * len(images)
directory, data = b"", b""
for size, png in images:
    side = 0 if size == 256 else size  # 0 stands for 256
    directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(png), offset + len(data))
    data += png
(here / "pagewick.ico").write_bytes(struct.pack("<HHH", 0, 1, len(images)) + directory + data)
