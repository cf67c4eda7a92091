#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora, taken from the sample package, into DIR/<target>/."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parents[2]
package = root / "package"
out = pathlib.Path(sys.argv[1])
english = (package / "SETUPENG.TXT").read_bytes()
block = (b"REM --- KVX Setup for WindowsNT BEGIN ---\r\nlh %SystemRoot%\\system\\isdntsr.exe\r\n"
         b"REM --- KVX Setup for WindowsNT END ---\r\n")
groups = b"SCSI miniport\0Port\0Primary disk\0Filter\0Base\0Video\0File system\0NDIS\0TDI\0"
backup = re.search(rb'"RegistryBackup"="(.*)"',
                   (root / "tests/e2e/fixtures/velmar-installed.reg").read_bytes())
seeds = {
    "FuzzScriptSections": [(package / "SETUP.KVX").read_bytes()],
    "FuzzLanguageFile": [english, (package / "SETUPGER.TXT").read_bytes()],
    "FuzzSafeFormat": [line + b"\x01C:\\VELMAR" for line in english.split(b"\r\n") if b"%" in line],
    "FuzzCommandLine": [b"/lDeutsch /c /fSETUP.KVX\x01C:\\VELMAR\x01C:\\VELMAR\\SETUP.EXE"],
    "FuzzBackupString": [backup.group(1).replace(b"\\\\", b"\\")],
    "FuzzRemovalLog": [b"KVX Velmar Setup --- *** DON'T TOUCH THIS FILE!!!***\r\nDeleted Objects:\r\n"
                       b"\r\nC:\\VELMAR\\VMDSS1.SYS\r\n\x01SOFTWARE\\CAPI20\\1\x01C:\\VELMAR"],
    "FuzzAutoexec": [b"REM MS-DOS start-up\r\nlh %SystemRoot%\\system32\\redir\r\n\r\n" + block],
    "FuzzGroupList": [groups + b"\0", groups + b"CAPI20\0\0"],
    "FuzzAnswerFile": [(package / "SETUP.KVX").read_bytes() +
                       b"\x01[Driver]\r\nProtocol=NI-1 (North American National ISDN-1)\r\n"
                       b"Adapters=2\r\n[Adapter2]\r\nInterrupt=11\r\nIoAddress=2B0\r\n"
                       b"SPID=0123\r\n[Maintenance]\r\nSwitch=1\r\nCalledNumber=12345\r\n"
                       b"Calling1=5550199,77\r\n"],
}
for target, inputs in seeds.items():
    folder = out / target
    folder.mkdir(parents=True, exist_ok=True)
    for i, data in enumerate(inputs):
        (folder / f"seed{i}").write_bytes(data)
