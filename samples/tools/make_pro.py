#!/usr/bin/env python3
"""Writes centerline.pro, the 1998 channel centerline profile of the Amite
River: the T01-T07 header records at the same columns as the fixed-column
format, then one free-format line per point:
station easting northing elevation code.

    python3 samples/tools/make_pro.py
"""
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(__file__))
from make_830 import header_lines  # noqa: E402
from survey_site import LEVEE_BASELINE, write_crlf  # noqa: E402


def main():
    rng = random.Random(4001998)
    lines = header_lines("AMITE98.PRO", "J98-0412", "06/23/1998", "AMITE RIVER CHANNEL CENTERLINE PROFILE 1998")
    for station in range(0, 4001, 200):
        offset = 450 + 30 * math.sin(station / 700)
        x, y = LEVEE_BASELINE.offset_point(station, offset)
        z = -9.0 - 2.0 * rng.random()
        code = "THW" if station % 1000 else "CL"
        lines.append(f"{station:8.2f} {x:12.3f} {y:12.3f} {z:7.2f} {code}")
    write_crlf("centerline.pro", lines)


if __name__ == "__main__":
    main()
