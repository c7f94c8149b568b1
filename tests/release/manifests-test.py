#!/usr/bin/env python3
"""Checks a release folder as package managers take it: SHA256SUMS against the files, and
the winget and Scoop manifests (manifests/) against the files, the version and the setup's
own script (its Apps list key and exit codes). Neither schema comes in a Debian or npm
package, so the rules of the winget 1.6.0 schemas and of Scoop's manifest format that
these manifests touch are stated here.
    manifests-test.py <dist> <version> <Ombrix.nsi>
"""
import hashlib
import json
import os
import re
import sys

import yaml

dist, version, nsi = sys.argv[1:4]
failures = []


def check(what, condition):
    if not condition:
        failures.append(what)
        print("FAILED: " + what)


def sha256(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


setup = f"Ombrix-{version}-setup.exe"
zip32 = f"Ombrix-{version}-win32.zip"
zip64 = f"Ombrix-{version}-x64.zip"

# SHA256SUMS: one line per shipped file, "<hash> *<name>", as sha256sum -c reads it.
sums = {}
with open(os.path.join(dist, "SHA256SUMS")) as file:
    for line in file:
        match = re.fullmatch(r"([0-9a-f]{64}) [ *](\S+)\n", line)
        check(f"SHA256SUMS line {line!r} has the form sha256sum writes", match)
        if match:
            sums[match.group(2)] = match.group(1)
check("SHA256SUMS names the zips and the setup", sorted(sums) == sorted([setup, zip32, zip64]))
for name, digest in sums.items():
    check(f"SHA256SUMS holds the hash of {name}", sha256(os.path.join(dist, name)) == digest)

# What the setup's script says the manifests must repeat.
script = open(nsi, encoding="utf-8").read()
product_code = re.search(r'!define UNINSTALL_KEY ".*\\([^\\"]+)"', script).group(1)
exit_codes = {int(code) for code in re.findall(r"!define EXIT_\w+ (\d+)", script)}
check("the setup's script defines its exit codes", exit_codes)

# winget 1.6.0: three files named after the identifier, each with the identifier, version,
# its type and the manifest version; the rules below are the schemas' for the fields used.
identifier_rule = r"[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}(\.[^.\s\\/:*?\"<>|\x01-\x1f]{1,32}){1,7}"
return_responses = {
    "packageInUse", "packageInUseByApplication", "installInProgress", "fileInUse", "missingDependency",
    "diskFull", "insufficientMemory", "invalidParameter", "noNetwork", "contactSupport",
    "rebootRequiredToFinish", "rebootRequiredForInstall", "rebootInitiated", "cancelledByUser",
    "alreadyInstalled", "downgrade", "blockedByPolicy", "systemNotSupported", "custom"}
winget_dir = os.path.join(dist, "manifests", "winget")
files = sorted(os.listdir(winget_dir))
manifests = {}
for name in files:
    with open(os.path.join(winget_dir, name), encoding="utf-8") as file:
        manifest = yaml.safe_load(file)
    manifests[manifest.get("ManifestType")] = (name, manifest)
check("winget has a version, a defaultLocale and an installer manifest",
      sorted(manifests) == ["defaultLocale", "installer", "version"] and len(files) == 3)
identifiers = {manifest.get("PackageIdentifier") for _, manifest in manifests.values()}
check("the winget manifests share one identifier", len(identifiers) == 1)
identifier = identifiers.pop() if len(identifiers) == 1 else ""
check("the winget identifier follows the schema", re.fullmatch(identifier_rule, identifier) and len(identifier) <= 128)
for kind, (name, manifest) in manifests.items():
    check(f"{name}: PackageVersion is the release's", manifest.get("PackageVersion") == version)
    check(f"{name}: ManifestVersion is 1.6.0", manifest.get("ManifestVersion") == "1.6.0")
    expected = {"version": f"{identifier}.yaml", "installer": f"{identifier}.installer.yaml",
                "defaultLocale": f"{identifier}.locale.{manifest.get('PackageLocale')}.yaml"}[kind]
    check(f"{name} is named {expected}", name == expected)

_, locale = manifests.get("defaultLocale", ("", {}))
for field in ("PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"):
    check(f"the locale manifest has {field}", isinstance(locale.get(field), str) and locale.get(field))
check("ShortDescription is 3 to 256 characters", 3 <= len(locale.get("ShortDescription", "")) <= 256)
_, version_manifest = manifests.get("version", ("", {}))
check("DefaultLocale is the locale manifest's", version_manifest.get("DefaultLocale") == locale.get("PackageLocale"))

_, installer = manifests.get("installer", ("", {}))
rules = [
    ("InstallerType is nullsoft", installer.get("InstallerType") == "nullsoft"),
    ("Scope is user", installer.get("Scope") == "user"),
    ("Silent is /S", installer.get("InstallerSwitches", {}).get("Silent") == "/S"),
    ("SilentWithProgress is /S", installer.get("InstallerSwitches", {}).get("SilentWithProgress") == "/S"),
    ("InstallLocation takes <INSTALLPATH> after /D=",
     installer.get("InstallerSwitches", {}).get("InstallLocation") == "/D=<INSTALLPATH>"),
    ("UpgradeBehavior is install", installer.get("UpgradeBehavior") == "install"),
    (f"ProductCode is the Apps list key {product_code}", installer.get("ProductCode") == product_code),
]
for what, holds in rules:
    check(what, holds)
expected_codes = installer.get("ExpectedReturnCodes", [])
codes = [entry.get("InstallerReturnCode") for entry in expected_codes]
check("ExpectedReturnCodes map every exit code of the setup, once", sorted(codes) == sorted(exit_codes))
for entry in expected_codes:
    check(f"return code {entry.get('InstallerReturnCode')} has a known ReturnResponse",
          entry.get("ReturnResponse") in return_responses)
installers = installer.get("Installers", [])
check("the installers are x64 and x86, once each",
      sorted(entry.get("Architecture") for entry in installers) == ["x64", "x86"])
for entry in installers:
    url = entry.get("InstallerUrl", "")
    check(f"{entry.get('Architecture')}: the address is https", re.fullmatch(r"[Hh][Tt][Tt][Pp][Ss]://.+", url))
    check(f"{entry.get('Architecture')}: the address names the setup", url.rsplit("/", 1)[-1] == setup)
    check(f"{entry.get('Architecture')}: the hash is the setup's", entry.get("InstallerSha256", "").lower() == sums.get(setup))

# Scoop: version, homepage and licence; per architecture the zip's address and hash; the
# settings file persisted and created before the first persist when missing.
with open(os.path.join(dist, "manifests", "scoop", "ombrix.json"), encoding="utf-8") as file:
    scoop = json.load(file)
check("scoop: version is the release's", scoop.get("version") == version)
check("scoop: homepage and licence are given", scoop.get("homepage") and scoop.get("license"))
for architecture, zip_name in (("64bit", zip64), ("32bit", zip32)):
    entry = scoop.get("architecture", {}).get(architecture, {})
    check(f"scoop {architecture}: the address names {zip_name}", entry.get("url", "").rsplit("/", 1)[-1] == zip_name)
    check(f"scoop {architecture}: the hash is the zip's", entry.get("hash", "").lower() == sums.get(zip_name))
persist = scoop.get("persist")
check("scoop: Ombrix.ini is persisted", "Ombrix.ini" in (persist if isinstance(persist, list) else [persist]))
pre_install = scoop.get("pre_install", "")
pre_install = "\n".join(pre_install) if isinstance(pre_install, list) else pre_install
check("scoop: pre_install creates Ombrix.ini in the app folder unless persisted",
      "Test-Path \"$persist_dir\\Ombrix.ini\"" in pre_install and "New-Item \"$dir\\Ombrix.ini\"" in pre_install)

print(f"manifests: {len(failures)} failed")
sys.exit(1 if failures else 0)
