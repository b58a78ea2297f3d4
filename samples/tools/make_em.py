#!/usr/bin/env python3
"""Writes the EM-format samples whose geometry has to agree: the levee
baseline (levee.bl), the levee cross sections (levee.em), the channel profile
with structure shots (profile.em), the hydrographic survey of the channel
(channel_hydro.em) and the borrow pit areas behind the levee (borrow_pit.em).

All cross sections are laid perpendicular to the levee baseline, so every
range line of levee.em crosses it; the channel centerline of profile.em runs
about 450 ft left of the baseline, on the river side.

    python3 samples/tools/make_em.py
"""
import math
import random
import sys
import os

sys.path.insert(0, os.path.dirname(__file__))
from survey_site import LEVEE_BASELINE, station_text, write_crlf  # noqa: E402

BASE = LEVEE_BASELINE


def coord_line(pid, x, y, z, code, comma):
    """One EM coordinate line: id, northing, easting, elevation, code."""
    fields = [str(pid), f"{y:.3f}", f"{x:.3f}", f"{z:.2f}", code]
    return ",".join(fields) if comma else " ".join(fields)


def levee_bl():
    lines = [
        "; Amite River left bank levee - construction baseline",
        "; Stations increase downstream (east-north-east); the river lies left of the line.",
        "#H00 EM09",
        "#H01 LEVEE.BL",
        "#H02 3/14/2011",
        "#H04 NAD83",
        "#H05 J-11-0187",
        "#H06 US SURVEY FEET",
        "#H07 LA SOUTH",
        "#H16 2011",
        "#H20 AMITE RIVER LEFT BANK LEVEE",
        "#H21 CONSTRUCTION BASELINE",
        "",
    ]
    for station in range(0, 4001, 500):
        x, y, _ = BASE.at(station)
        name = "BL-" + station_text(station).replace(".00", "")
        if station == 2000:
            name = "PI-1"
        lines.append(f"#B01 {x:.2f},{y:.2f},{station:.2f},{name}")
    return lines


# Levee section template: offset from the baseline (positive towards the
# river), code, elevation (ft NAVD88) before the per-section variation.
LEVEE_SHOTS = [
    (-255, "GND", 11.6), (-180, "GND", 11.9), (-140, "DCH", 9.9), (-110, "GND", 11.8),
    (-66, "TOE", 12.3), (-38, "LEV", 20.4), (-10, "LEV", 28.3), (0, "CL", 28.6),
    (10, "LEV", 28.3), (38, "LEV", 20.5), (66, "TOE", 12.5), (150, "GND", 11.2),
    (280, "TOB", 9.8), (318, "WE", 2.41), (335, "BOT", -3.1),
]
SECTION_DESCRIPTIONS = {
    500: ["Gravel road on levee crown, fence along landside toe"],
    2000: ["Section on the bisector of the baseline bend at PI-1,", "crown low by about 0.6 ft"],
    3500: ["Pipeline crossing marker 40 ft upstream of the range line"],
}


def levee_em():
    rng = random.Random(1187)
    lines = [
        "; AMITE RIVER LEFT BANK LEVEE - REACH 2 CROSS SECTIONS",
        "; Field file downloaded from data collector, edited in office 3/17/2011",
        "#H00 EM09",
        "#H01 AR_R2_LEVEE.EM",
        "#H02 3/14/2011",
        "#H03 THIRD",
        "#H04 NAD83",
        "#H05 J-11-0187",
        "#H06 US SURVEY FEET",
        "#H07 LA SOUTH",
        "#H08 AMITE RIVER LEFT BANK, PORT VINCENT TO BAYOU CHENE BLANC",
        "#H09 BAYOU STATE SURVEYING, LLC",
        "#H10 LB-2231",
        "#H11 14",
        "#H12 0.99994621",
        "#H13 LIVINGSTON",
        "#H14 PORT VINCENT",
        "#H15 W912P8-11-C-0042",
        "#H16 2011",
        "#H17 +-0.05",
        "#H20 AMITE RIVER AND TRIBUTARIES",
        "#H21 LEFT BANK LEVEE ENLARGEMENT, REACH 2",
        "#H22 PRE-CONSTRUCTION CROSS SECTIONS",
        "#H30 Sections perpendicular to the levee baseline, stationed from levee.bl",
        "#H31 Elevations adjusted to the published value of BM AMITE 3",
        "#B00 levee.bl",
        "",
        "; Permanent benchmark, found in good condition",
        "#V01 BM AMITE 3",
        "#V02 25.51",
        "#V03 2006.81",
        "#V04 NAVD88",
        "#V05 GOOD",
        "#V06 25.47",
    ]
    bx, by = BASE.offset_point(700, -95)
    lines += [
        f"#V07 {by:.3f},{bx:.3f}",
        "#V08 BH1823",
        "#V09 0.04",
        "#V20 Brass disk set in concrete monument at the landside toe,",
        "#V21 95 ft right of baseline station 7+00",
        "",
    ]
    pid = 101
    for n, station in enumerate(range(500, 3501, 500)):
        if station == 2500:
            lines += [
                "; second day",
                "#H02 3/15/2011",
                "#H11 17",
                "#T01 TBM 12",
                "#T02 24.86",
                "#T04 NAVD88",
            ]
            tx, ty = BASE.offset_point(2480, -70)
            lines += [f"#T07 {ty:.3f} {tx:.3f}", "#T20 Spike in power pole 70 ft right of 24+80", ""]
        start = BASE.offset_point(station, -260)
        stop = BASE.offset_point(station, 340)
        notation = station_text(station)
        if n % 2:
            notation = notation.replace(".00", "")
        lines.append(
            f"#X01 {start[0]:.3f} {start[1]:.3f} {stop[0]:.3f} {stop[1]:.3f} {notation} XS {station // 100} LEVEE")
        lines.append(f"#X02 R-{station // 100}")
        for k, text in enumerate(SECTION_DESCRIPTIONS.get(station, [])):
            lines.append(f"#X{12 + k} {text}")
        if station in (1500, 3000):
            lines += ["#X03 1045" if station == 1500 else "#X03 1410", "#X04 2.41"]
        crown_shift = rng.uniform(-0.3, 0.3) - (0.6 if station == 2000 else 0.0)
        comma = n % 2 == 0
        for offset, code, elevation in LEVEE_SHOTS:
            d = offset + rng.uniform(-2.0, 2.0)
            lateral = rng.uniform(-1.2, 1.2)
            x, y = BASE.offset_point(station, d)
            _, _, (dx, dy) = BASE.at(station)
            x, y = x + dx * lateral, y + dy * lateral
            z = elevation + rng.uniform(-0.15, 0.15)
            if code in ("LEV", "CL") and abs(offset) <= 10:
                z += crown_shift
            if code == "WE":
                z = 2.41 - 0.04
            lines.append(coord_line(pid, x, y, z, code, comma))
            pid += 1
        lines.append("")
    return lines


def profile_em():
    rng = random.Random(4410)
    lines = [
        "; AMITE RIVER CHANNEL CENTERLINE PROFILE AND STRUCTURE SHOTS",
        "#H00 EM09",
        "#H01 AR_R2_PROFILE.EM",
        "#H02 3/15/2011",
        "#H03 THIRD",
        "#H04 NAD83",
        "#H05 J-11-0187",
        "#H06 US SURVEY FEET",
        "#H07 LA SOUTH",
        "#H08 AMITE RIVER LEFT BANK, PORT VINCENT TO BAYOU CHENE BLANC",
        "#H09 BAYOU STATE SURVEYING, LLC",
        "#H10 LB-2231",
        "#H11 21",
        "#H13 LIVINGSTON",
        "#H14 PORT VINCENT",
        "#H16 2011",
        "#H17 +-0.10",
        "#H20 AMITE RIVER CHANNEL PROFILE",
        "#B00 levee.bl",
        "",
        "#V01 BM AMITE 3",
        "#V04 NAVD88",
        "#V03 2006.81",
        "#V09 0.04",
        "",
    ]
    first = BASE.offset_point(0, 450)
    lines += [
        f"#P01 {first[0]:.2f} {first[1]:.2f} 0 AMITE RIVER CL",
        "#P03 0915",
        "#P04 2.41",
        "#P12 Thalweg by pole and lead line from the survey boat",
    ]
    pid = 501
    for station in range(0, 4001, 100):
        # The thalweg swings slowly from bank to bank.
        x, y = BASE.offset_point(station, 450 + 35 * math.sin(station / 650) + rng.uniform(-4, 4))
        z = -9.5 - 2.5 * rng.random()
        lines.append(coord_line(pid, x, y, z, "THW", False))
        pid += 1
    lines.append("")

    structures = [
        (["Culvert headwall, 36 in RCP under levee", "landside outfall"],
         [(1180, -75, 13.9, "HW"), (1192, -75, 13.9, "HW"), (1192, -79, 13.8, "HW"), (1180, -79, 13.8, "HW"),
          (1186, -77, 10.2, "INV")]),
        (["Power pole"], [(2478, -70, 12.1, "PP"), (2905, -72, 12.3, "PP"), (3330, -71, 12.0, "PP")]),
        (["Boat launch", "concrete ramp"],
         [(3710, 300, 9.6, "RMP"), (3730, 300, 9.7, "RMP"), (3730, 322, 2.1, "RMP"), (3710, 322, 2.0, "RMP")]),
    ]
    pid = 601
    for descriptions, shots in structures:
        for k, text in enumerate(descriptions):
            lines.append(f"#M{k + 1:02d} {text}")
        for station, offset, z, code in shots:
            x, y = BASE.offset_point(station, offset)
            lines.append(coord_line(pid, x, y, z + rng.uniform(-0.02, 0.02), code, True))
            pid += 1
        lines.append("")
    return lines


def channel_hydro_em():
    rng = random.Random(3162011)
    lines = [
        "; AMITE RIVER HYDROGRAPHIC SURVEY - SINGLE BEAM",
        "#H00 EM09",
        "#H01 AR_R2_HYDRO.EM",
        "#H02 3/16/2011",
        "#H03 THIRD",
        "#H04 NAD83",
        "#H05 J-11-0187",
        "#H06 US SURVEY FEET",
        "#H07 LA SOUTH",
        "#H08 AMITE RIVER AT PORT VINCENT",
        "#H09 BAYOU STATE SURVEYING, LLC",
        "#H10 HB-0412",
        "#H11 3",
        "#H12 0.99994621",
        "#H13 LIVINGSTON",
        "#H14 PORT VINCENT",
        "#H15 W912P8-11-C-0042",
        "#H16 2011",
        "#H17 +-0.50",
        "#H20 AMITE RIVER CHANNEL",
        "#H21 HYDROGRAPHIC CROSS SECTIONS",
        "",
        "#C01 R. THIBODEAUX",
        "#C02 M. GUIDRY",
        "#C03 K. LANDRY",
        "#C05 J. BROUSSARD",
        "",
        "#E01 ECHO SOUNDER",
        "#E02 ODM-31877",
        "#E03 ODOM HYDROTRAC II",
        "#E10 Single beam 200 kHz, bar check 0.02 ft at 10 ft",
        "#I01 RTK GPS RECEIVER",
        "#I02 5530412877",
        "#I03 TRIMBLE R8",
        "#E01 SURVEY VESSEL",
        "#E02 LA-4412-BK",
        "#E03 18 FT ALUMINUM",
        "",
        "#W01 68\u00b0F",
        "#W02 30.02 IN HG",
        "#W03 78%",
        "#W04 OVERCAST",
        "#W05 5-10 MPH",
        "#W06 SE",
        "",
        "; Tidal benchmark at the Port Vincent boat launch",
        "#V01 AMITE TIDAL 2",
        "#V02 8.93",
        "#V03 2006.81",
        "#V04 NAVD88",
        "#V05 GOOD",
        "#V06 8.95",
    ]
    bx, by = BASE.offset_point(3690, 280)
    lines += [
        f"#V07 {by:.3f},{bx:.3f}",
        "#V08 BH1867",
        "#V10 8.12",
        "#V11 8.95",
        "#V12 1983-2001",
        "#V20 NOS tidal disk in boat launch bulkhead",
        "",
    ]
    gx, gy = BASE.offset_point(3720, 325)

    def gage(time, wse):
        return [
            "#G01 STAFF",
            "#G02 AMITE PV",
            f"#G03 {wse:.2f}",
            f"#G04 {time}",
            "#G05 0.35",
            "#G06 1.18",
            f"#G07 {gy:.3f},{gx:.3f}",
            "#G15 Staff gage on boat launch piling",
            "",
        ]

    pid = 1001
    sections = [(800, "0930", 2.41), (1600, None, None), (2400, "1330", 2.47), (3200, None, None),
                (1200, "0845", 2.38)]
    for n, (station, time, wse) in enumerate(sections):
        if n == 4:
            lines += ["#H02 3/17/2011", "#H11 4", "#W01 72\u00b0F", "#W04 CLEAR", "#W05 CALM", ""]
        if time:
            lines += gage(time, wse)
            current_wse = wse
        start = BASE.offset_point(station, 300)
        stop = BASE.offset_point(station, 600)
        lines.append(f"#X01 {start[0]:.3f} {start[1]:.3f} {stop[0]:.3f} {stop[1]:.3f} "
                     f"{station_text(station)} HYDRO {station // 100}")
        lines.append(f"#X02 HR-{station // 100}")
        shots = [(318, "WE", 0.0)]
        for k in range(1, 16):
            d = 318 + k * 16.5
            depth = 12.5 * (1 - ((d - 450) / 135) ** 2) + 1.0
            shots.append((d, "SND", max(depth + rng.uniform(-0.4, 0.4), 0.5)))
        shots.append((585, "WE", 0.0))
        for offset, code, depth in shots:
            x, y = BASE.offset_point(station, offset + rng.uniform(-1.0, 1.0))
            lines.append(coord_line(pid, x, y, current_wse - depth, code, n % 2 == 1))
            pid += 1
        lines.append("")
    return lines


def borrow_pit_em():
    rng = random.Random(2011)
    lines = [
        "; BORROW PIT B-2 - AS-BUILT LIMITS",
        "#H00 EM09",
        "#H01 AR_R2_PIT_B2.EM",
        "#H02 3/18/2011",
        "#H04 NAD83",
        "#H05 J-11-0187",
        "#H06 US SURVEY FEET",
        "#H07 LA SOUTH",
        "#H08 LANDSIDE OF AMITE RIVER LEFT BANK LEVEE, STA 12+00 TO 18+20",
        "#H09 BAYOU STATE SURVEYING, LLC",
        "#H10 LB-2231",
        "#H11 26",
        "#H13 LIVINGSTON",
        "#H14 PORT VINCENT",
        "#H16 2011",
        "#H17 +-0.10",
        "#H20 BORROW PIT B-2",
        "",
        "#T01 TBM 12",
        "",
    ]
    # (station, offset) of each vertex: negative offsets are landside.
    rings = [
        ("#A01 BORROW PIT B-2 TOP OF CUT", ["#A12 Excavated to el 2.0, side slopes 3H:1V"], "TOC", 11.6,
         [(1200, -600), (1500, -580), (1800, -610), (1820, -800), (1790, -1050), (1500, -1080), (1210, -1040),
          (1180, -820)]),
        ("#A02", ["#A13 Spoil mound left in place around transmission tower"], "MND", 15.2,
         [(1400, -750), (1550, -740), (1560, -880), (1420, -900), (1390, -820)]),
        ("#A03", ["#A14 Ponded water on top of the spoil mound"], "WE", 6.1,
         [(1450, -790), (1500, -785), (1505, -840), (1455, -845)]),
        ("#A01 STAGING AREA", [], "EOG", 12.4,
         [(2150, -150), (2350, -150), (2350, -320), (2150, -320)]),
    ]
    pid = 2001
    for record, notes, code, elevation, vertices in rings:
        lines.append(record)
        lines += notes
        for station, offset in vertices:
            x, y = BASE.offset_point(station, offset)
            z = elevation + rng.uniform(-0.3, 0.3)
            lines.append(coord_line(pid, x, y, z, code, True))
            pid += 1
        lines.append("")
    return lines


def main():
    write_crlf("levee.bl", levee_bl())
    write_crlf("levee.em", levee_em())
    write_crlf("profile.em", profile_em())
    write_crlf("channel_hydro.em", channel_hydro_em())
    write_crlf("borrow_pit.em", borrow_pit_em())


if __name__ == "__main__":
    main()
