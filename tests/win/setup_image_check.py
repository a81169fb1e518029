#!/usr/bin/python3
"""Reads a setup program with pefile, a reader written apart from ours, and
checks what Windows relies on but a resource extractor overlooks:
  setup_image_check.py SETUP.EXE [--manifest MANIFEST.toml] [--runtime]
- the resource directory at every level: named entries first, in code-unit
  order, then numbered ones in ascending order, as its two counts say, and
  every datum inside the resource section;
- the sections: aligned, in order without overlap, SizeOfImage after the
  last, and the header checksum Windows computes;
- with --manifest, the version resource as the file's properties show it:
  the manifest's version (missing numbers as 0), name and company;
- with --runtime (a real stub, not a test's stand-in): imports of KnownDLLs
  only, and an asInvoker manifest without a compatibility section (which
  would change the Windows version the program is told).
Prints one line per problem; exit code 1 when there is any."""
import re
import sys
import tomllib

import pefile

KNOWN_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "shell32.dll", "ole32.dll", "msvcrt.dll", "advapi32.dll"}


def aligned(value, alignment):
    return (value + alignment - 1) // alignment * alignment


def key_order_problems(directory, path):
    named = [e for e in directory.entries if e.name is not None]
    numbered = [e for e in directory.entries if e.name is None]
    problems = []
    if directory.entries != named + numbered:
        problems.append(f"{path}: a named entry after a numbered one")
    if (directory.struct.NumberOfNamedEntries, directory.struct.NumberOfIdEntries) != (len(named), len(numbered)):
        problems.append(f"{path}: counts say {directory.struct.NumberOfNamedEntries} named and "
                        f"{directory.struct.NumberOfIdEntries} numbered, there are {len(named)} and {len(numbered)}")
    names = [e.name.decode("utf-8") for e in named]
    ids = [e.id for e in numbered]
    if names != sorted(names) or len(set(names)) != len(names):
        problems.append(f"{path}: names out of order: {names}")
    if ids != sorted(ids) or len(set(ids)) != len(ids):
        problems.append(f"{path}: numbers out of order: {ids}")
    return problems


def resource_problems(pe, section):
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return ["no resource directory"]
    problems = key_order_problems(pe.DIRECTORY_ENTRY_RESOURCE, "root")
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        kind_path = str(kind.name or kind.id)
        problems += key_order_problems(kind.directory, kind_path)
        for name in kind.directory.entries:
            name_path = f"{kind_path}/{name.name or name.id}"
            problems += key_order_problems(name.directory, name_path)
            for language in name.directory.entries:
                start, size = language.data.struct.OffsetToData, language.data.struct.Size
                if start < section.VirtualAddress or start + size > section.VirtualAddress + section.Misc_VirtualSize:
                    problems.append(f"{name_path}: data at {start:#x}+{size} outside the resource section")
    return problems


def section_problems(pe):
    optional = pe.OPTIONAL_HEADER
    problems, end = [], aligned(optional.SizeOfHeaders, optional.SectionAlignment)
    for s in pe.sections:
        name = s.Name.rstrip(b"\0").decode()
        if s.VirtualAddress != end:
            problems.append(f"{name}: at {s.VirtualAddress:#x}, the aligned end of the one before is {end:#x}")
        if s.SizeOfRawData % optional.FileAlignment or s.PointerToRawData % optional.FileAlignment:
            problems.append(f"{name}: raw data not aligned to {optional.FileAlignment:#x}")
        end = aligned(s.VirtualAddress + max(s.Misc_VirtualSize, s.SizeOfRawData), optional.SectionAlignment)
    if optional.SizeOfImage != end:
        problems.append(f"SizeOfImage {optional.SizeOfImage:#x}, the sections end at {end:#x}")
    if optional.CheckSum != pe.generate_checksum():
        problems.append(f"checksum {optional.CheckSum:#x}, computed {pe.generate_checksum():#x}")
    return problems


def version_problems(pe, manifest):
    with open(manifest, "rb") as f:
        product = tomllib.load(f)["product"]
    numbers = product["version"].split(".")
    wanted = {"Version": ".".join(numbers + ["0"] * (4 - len(numbers))), "FileDescription": product["name"] + " Setup",
              "FileVersion": product["version"], "ProductName": product["name"], "ProductVersion": product["version"]}
    wanted.update({"CompanyName": line[3:] for line in product["description"] if line.startswith("by ")})
    have = {}
    for info in getattr(pe, "VS_FIXEDFILEINFO", [])[:1]:
        have["Version"] = f"{info.FileVersionMS >> 16}.{info.FileVersionMS & 0xFFFF}." \
                          f"{info.FileVersionLS >> 16}.{info.FileVersionLS & 0xFFFF}"
    for table in (t for group in getattr(pe, "FileInfo", []) for e in group for t in getattr(e, "StringTable", [])):
        have.update({k.decode(): v.decode("cp1252") for k, v in table.entries.items()})
    return [] if have == wanted else [f"version resource {have}, expected {wanted}"]


def runtime_problems(pe):
    problems = [f"imports {d.dll.decode()}, which is no KnownDLL" for d in pe.DIRECTORY_ENTRY_IMPORT
                if d.dll.decode().lower() not in KNOWN_DLLS]
    manifests = [e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == pefile.RESOURCE_TYPE["RT_MANIFEST"]]
    data = manifests[0].directory.entries[0].directory.entries[0].data.struct if manifests else None
    text = pe.get_data(data.OffsetToData, data.Size).decode("utf-8", "replace") if data else ""
    if 'level="asInvoker"' not in text:
        problems.append("no asInvoker execution level in the manifest")
    if re.search("compatibility|supportedOS", text, re.I):
        problems.append("the manifest has a compatibility section")
    return problems


def main(arguments):
    path, manifest, runtime = arguments[0], None, "--runtime" in arguments
    if "--manifest" in arguments:
        manifest = arguments[arguments.index("--manifest") + 1]
    pe = pefile.PE(path)
    # Its guess from byte frequencies misreads a flat-coloured logo.
    problems = [f"pefile: {w}" for w in pe.get_warnings() if not re.match(r"Byte 0x.. makes up", w)]
    resources = [s for s in pe.sections if s.Name.rstrip(b"\0") == b".rsrc"]
    problems += section_problems(pe)
    problems += resource_problems(pe, resources[-1]) if resources else ["no resource section"]
    if manifest:
        problems += version_problems(pe, manifest)
    if runtime:
        problems += runtime_problems(pe)
    for problem in problems:
        print(f"{path}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
