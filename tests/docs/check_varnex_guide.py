#!/usr/bin/env python3
"""The host developers' guide against the public header: every export has its entry, every name
the header defines is spelled out, each child id is given with its value, and the record tables
give each field at the offset the header checks."""
import re
import sys


def main(header_path, guide_path):
    header = open(header_path, encoding="utf-8").read()
    guide = open(guide_path, encoding="utf-8").read()
    faults = []

    for name in re.findall(r"^int WINAPI (\w+)\(", header, re.M):
        if not re.search(rf"^### {name}$", guide, re.M):
            faults.append(f"export {name}: no '### {name}' entry")

    defines = re.findall(r"^\s*#define (\w+)\s+(\S+)", header, re.M)
    for name, value in defines:
        if name in ("VARNEX_H", "VNX_LAYOUT_CHECK"):
            continue
        if f"`{name}`" not in guide:
            faults.append(f"{name}: not named in the guide")
        if name.startswith("VNX_ID_"):
            row = next((line for line in guide.splitlines() if f"`{name}`" in line and line.startswith("|")), "")
            if not row.startswith(f"| {value.upper().replace('0X', '0x')} |"):
                faults.append(f"{name}: its table row does not begin with {value}")

    for record, field, offset in re.findall(r"offsetof\((\w+), (\w+)\) == (\d+)", header):
        section = guide.split(f"### 6.", 1)[1] if "### 6." in guide else ""
        if not re.search(rf"^\| {offset} \| \d+ \| `\w+ {field}` \|", section, re.M):
            faults.append(f"{record}.{field}: no record-table row at offset {offset}")

    for fault in faults:
        print("varnex-guide:", fault)
    print(f"{0 if faults else 1} passed, {1 if faults else 0} failed")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
