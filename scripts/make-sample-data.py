#!/usr/bin/env python3
"""Writes the sample person's year of daily readings: assets/Sample/Pellam Ostry-daily-<m>-99.txt.

One file a month of 1999, in the fixed-column daily report that a new database is loaded from.
The output is committed; the fixed seed makes every run write the same bytes, so rerun the
script after changing it and commit both.

Layout of a file:
  line 1   title: "... Daily Value for <name> - <month> 1999"
  line 2   underline (ignored)
  line 3   "Regimens in use this month: <count>"
  count lines "<name> : <detail>", names of at most 10 characters
  a blank line, the column header, a ruler, then one row per day in fixed columns:
  date 1-10 (mm/dd/yyyy), high BP 11-20, low BP 21-30, pulse, weight, temperature and regimen
  12 wide each, mood 10 wide; a column the header leaves out is left out of the rows, and the
  columns after it move left. Position 11 is always blank so that the date ends there.
"""

import math
import random
from datetime import date, timedelta
from pathlib import Path

SEED = 19990101
PERSON = "Pellam Ostry"
YEAR = 1999

MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August",
          "September", "October", "November", "December"]

REGIMENS = {
    "Walk30": "Brisk walk of 30 minutes before breakfast",
    "LowSalt": "Low-salt diet: under 2 g of sodium a day",
    "Yoga": "Stretching and breathing class on Saturday mornings",
    "Lisinopril": "Lisinopril 10 mg, one tablet each morning",
    "Swim": "Swimming at the town pool, 40 minutes",
    "Cycling": "Cycling on the river path, about 45 minutes",
}

# Regimens listed at the top of each month's file, with the share of days each is noted on
# (the rest of the days carry no regimen).
MONTH_REGIMENS = {
    1: [("Walk30", 0.5), ("LowSalt", 0.3)],
    2: [("Walk30", 0.4), ("LowSalt", 0.25), ("Yoga", 0.15)],
    3: [("Walk30", 0.45), ("LowSalt", 0.25), ("Yoga", 0.15)],
    4: [("Lisinopril", 0.45), ("Walk30", 0.3), ("LowSalt", 0.1), ("Yoga", 0.1)],
    5: [("Lisinopril", 0.4), ("Walk30", 0.3), ("Swim", 0.2)],
    6: [("Lisinopril", 0.35), ("Swim", 0.25), ("Cycling", 0.2), ("Walk30", 0.1)],
    7: [],
    8: [("Lisinopril", 0.4), ("Swim", 0.3), ("Cycling", 0.2)],
    9: [("Lisinopril", 0.45), ("Cycling", 0.25), ("Walk30", 0.2)],
    10: [("Lisinopril", 0.5), ("Walk30", 0.3), ("Yoga", 0.1)],
    11: [("Lisinopril", 0.5), ("Walk30", 0.3), ("Yoga", 0.15)],
    12: [("Lisinopril", 0.5), ("Walk30", 0.25), ("LowSalt", 0.15)],
}

ALL_COLUMNS = ["bp", "pulse", "weight", "temp", "regimen", "mood"]
# The columns each month's header names: some months leave columns out.
MONTH_COLUMNS = {
    3: ["bp", "pulse", "weight", "regimen", "mood"],
    5: ["bp", "pulse", "weight", "temp", "regimen"],
    6: ["bp", "weight", "temp", "regimen", "mood"],
    7: ["bp", "pulse", "temp", "mood"],
    9: ["pulse", "weight", "temp", "regimen", "mood"],
    10: ["bp", "pulse", "weight", "regimen"],
}

# Typical systolic pressure of each month: high in winter, lower once the tablets start in April.
SYSTOLIC = [136, 138, 135, 131, 128, 125, 123, 122, 123, 124, 126, 129]
# Weight the month drifts towards, in pounds.
WEIGHT_TARGET = [174.0, 173.5, 172.5, 171.5, 170.0, 169.0, 168.0, 167.5, 167.5, 168.0, 169.0, 170.5]
# A winter cold: temperature, extra pulse.
FEVER = {date(YEAR, 2, 8): (100.4, 12), date(YEAR, 2, 9): (101.1, 15),
         date(YEAR, 2, 10): (99.9, 9), date(YEAR, 2, 11): (99.2, 5)}

WIDTH = {"bp_high": 10, "bp_low": 10, "pulse": 12, "weight": 12, "temp": 12, "regimen": 12, "mood": 10}
LABEL = {"bp_high": "High BP", "bp_low": "Low BP", "pulse": "Pulse", "weight": "Weight (lb)",
         "temp": "Temp (F)", "regimen": "Regimen", "mood": "Mood"}

rng = random.Random(SEED)


def normal(mean, sd):
    # Box-Muller on random() alone, so the numbers do not depend on the library's gauss().
    u1 = 1.0 - rng.random()
    u2 = rng.random()
    return mean + sd * math.sqrt(-2.0 * math.log(u1)) * math.cos(2.0 * math.pi * u2)


def pick(weighted):
    r = rng.random()
    for name, share in weighted:
        if r < share:
            return name
        r -= share
    return ""


def clip(v, low, high):
    return max(low, min(high, v))


def mood_shares(month, stressed, fever):
    if fever:
        return [("Depressed", 0.5), ("Anxious", 0.3), ("Melancholy", 0.2)]
    winter = month in (1, 2, 11, 12)
    shares = [("Normal", 0.55), ("Happy", 0.14), ("Excited", 0.05),
              ("Melancholy", 0.12 if winter else 0.05), ("Anxious", 0.05), ("Depressed", 0.03)]
    if stressed:
        shares = [("Anxious", 0.45), ("Normal", 0.35), ("Excited", 0.1)]
    return shares  # the shares left over leave the mood blank


def day_regimen(day):
    listed = MONTH_REGIMENS[day.month]
    # The class is on Saturdays; other days name one of the month's other regimens or none.
    if day.weekday() == 5 and any(name == "Yoga" for name, _ in listed) and rng.random() < 0.7:
        return "Yoga"
    return pick([(name, share) for name, share in listed if name != "Yoga"])


def day_reading(day, weight):
    month = day.month
    stressed = rng.random() < 0.07
    fever = FEVER.get(day)
    sys_mean = SYSTOLIC[month - 1] + (12 if stressed else 0)
    hbp = round(clip(normal(sys_mean, 5.0), 114, 160))
    lbp = round(clip(normal(hbp * 0.62 + (4 if stressed else 0), 3.5), 70, 98))
    pulse = round(clip(normal(72 + (6 if stressed else 0), 5.0), 60, 90))
    temp = round(clip(normal(98.2, 0.25), 97.5, 99.1), 1)
    if fever:
        temp, extra = fever
        pulse = min(90, pulse + extra)
    reading = {
        "bp": (hbp, lbp),
        "pulse": pulse,
        "weight": round(weight, 1),
        "temp": temp,
        "regimen": "" if fever else day_regimen(day),
        "mood": pick(mood_shares(month, stressed, fever)),
    }
    # Now and then a reading was not taken that day.
    if rng.random() < 0.03:
        reading["bp"] = None
    if rng.random() < 0.03:
        reading["pulse"] = None
    if rng.random() < 0.10:
        reading["weight"] = None
    if rng.random() < 0.20 and not fever:
        reading["temp"] = None
    return reading


def number(v):
    return "" if v is None else (f"{v:.1f}" if isinstance(v, float) else str(v))


def row_text(first, fields):
    """The date (10 wide), then each field in its width; the first field starts with a blank."""
    text = first.ljust(10)
    for i, (key, value) in enumerate(fields):
        cell = (" " if i == 0 else "") + value
        if len(cell) > WIDTH[key]:
            raise ValueError(f"{value!r} does not fit the {key} column")
        text += cell.ljust(WIDTH[key])
    return text.rstrip()


def header_fields(columns):
    keys = []
    for c in columns:
        keys += ["bp_high", "bp_low"] if c == "bp" else [c]
    return keys


def row_fields(columns, reading):
    fields = []
    for c in columns:
        if c == "bp":
            hbp, lbp = reading["bp"] if reading["bp"] else (None, None)
            fields += [("bp_high", number(hbp)), ("bp_low", number(lbp))]
        elif c in ("regimen", "mood"):
            fields.append((c, reading[c]))
        else:
            fields.append((c, number(reading[c])))
    return fields


def month_file(month, readings):
    columns = MONTH_COLUMNS.get(month, ALL_COLUMNS)
    title = f"Ravelcombrick Daily Value for {PERSON} - {MONTHS[month - 1]} {YEAR}"
    lines = [title, "=" * len(title)]
    listed = MONTH_REGIMENS[month]
    lines.append(f"Regimens in use this month: {len(listed)}")
    for name, _ in listed:
        assert len(name) <= 10
        lines.append(f"{name:<10} : {REGIMENS[name]}")
    lines.append("")
    keys = header_fields(columns)
    lines.append(row_text("Date", [(k, LABEL[k]) for k in keys]))
    lines.append(row_text("-" * 10, [(k, "-" * (WIDTH[k] - (2 if i == 0 else 1))) for i, k in enumerate(keys)]))
    for day, reading in readings:
        fields = row_fields(columns, reading)
        if not any(value and key not in ("regimen", "mood") for key, value in fields):
            continue  # nothing measured that day in this month's columns
        lines.append(row_text(day.strftime("%m/%d/%Y"), fields))
    return "\r\n".join(lines) + "\r\n"


def main():
    out = Path(__file__).resolve().parent.parent / "assets" / "Sample"
    out.mkdir(parents=True, exist_ok=True)
    weight = 174.0
    by_month = {m: [] for m in range(1, 13)}
    day = date(YEAR, 1, 1)
    while day.year == YEAR:
        weight += 0.15 * (WEIGHT_TARGET[day.month - 1] - weight) + normal(0.0, 0.45)
        reading = day_reading(day, weight)
        if rng.random() >= 0.07 or day in FEVER:   # some days have no entry at all
            by_month[day.month].append((day, reading))
        day += timedelta(days=1)
    for month in range(1, 13):
        text = month_file(month, by_month[month])
        text.encode("ascii")
        (out / f"{PERSON}-daily-{month}-{YEAR % 100}.txt").write_bytes(text.encode("ascii"))


if __name__ == "__main__":
    main()
