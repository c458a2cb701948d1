#!/usr/bin/env python3
"""Parses a SpreadsheetML workbook and checks that every worksheet declares as many rows and at
least as many columns as it holds. Exit status 0 when the file is sound."""
import sys
import xml.etree.ElementTree as ET

NS = {"ss": "urn:schemas-microsoft-com:office:spreadsheet"}
SS = "{urn:schemas-microsoft-com:office:spreadsheet}"


def main(path):
    root = ET.parse(path).getroot()
    sheets = root.findall("ss:Worksheet", NS)
    if not sheets:
        print("no worksheet")
        return 1
    for sheet in sheets:
        name = sheet.get(SS + "Name")
        table = sheet.find("ss:Table", NS)
        rows = table.findall("ss:Row", NS)
        declared = int(table.get(SS + "ExpandedRowCount"))
        if declared != len(rows):
            print(f"{name}: ExpandedRowCount {declared}, rows {len(rows)}")
            return 1
        columns = int(table.get(SS + "ExpandedColumnCount"))
        for row in rows:
            used = 0
            for cell in row.findall("ss:Cell", NS):
                index = cell.get(SS + "Index")
                used = int(index) if index else used + 1
            if used > columns:
                print(f"{name}: a row uses {used} columns of {columns}")
                return 1
        print(f"{name}: {len(rows)} rows")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
