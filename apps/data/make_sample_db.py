#!/usr/bin/env python3
"""Builds sample.db from sample.sql, both beside this script, replacing an older sample.db."""
import os
import sqlite3

here = os.path.dirname(os.path.abspath(__file__))
target = os.path.join(here, "sample.db")
if os.path.exists(target):
    os.remove(target)
with open(os.path.join(here, "sample.sql"), encoding="utf-8") as script:
    connection = sqlite3.connect(target)
    connection.executescript(script.read())
    connection.commit()
    connection.close()
print(target)
