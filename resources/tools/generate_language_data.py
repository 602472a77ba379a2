#!/usr/bin/env python3
"""Builds the language and country snapshot of the resource plug-ins.

Reads Debian's iso-codes (ISO 639-3 languages, ISO 3166-1 countries) and
unicode-cldr-core (which countries speak a language, native and regional
names, German names) and writes:

  resources/kit/data/languages.tsv   id, name, reference name
  resources/kit/data/countries.tsv   id, name
  resources/kit/data/speakers.tsv    language id, country ids
  resources/kit/data/altnames.tsv    language id, country id ("" = any), name
  resources/translations/Language-Deutsch.ts, Country-Deutsch.ts

The snapshot is committed; the build never reads the installed packages.
Run again after installing newer packages (apt-get install iso-codes
unicode-cldr-core) and review the diff: ids must stay stable.
"""

import json
import os
import subprocess
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

ISO = "/usr/share/iso-codes/json"
CLDR = "/usr/share/unicode/cldr/common"
HERE = os.path.dirname(os.path.abspath(__file__))
OUT_DATA = os.path.join(HERE, "..", "kit", "data")
OUT_TS = os.path.join(HERE, "..", "translations")

# Individual languages that the CLDR data files under their macrolanguage's
# code without saying so.
EXTRA_MACRO = {
    "zlm": "ms",
}

# Names the program's own lists pass on, where ISO's differ.
NAME_OVERRIDES = {
    "deu": "German, Standard",
    "zlm": "Malay",
}


def package_version(name):
    try:
        return subprocess.check_output(
            ["dpkg-query", "-W", "-f=${Version}", name], text=True).strip()
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def load_languages():
    entries = json.load(open(os.path.join(ISO, "iso_639-3.json"), encoding="utf-8"))["639-3"]
    langs = []
    for e in entries:
        if e["type"] == "S":  # uncoded, multiple, undetermined, no content
            continue
        code = e["alpha_3"]
        reference = e["name"]
        name = NAME_OVERRIDES.get(code, e.get("inverted_name", reference))
        langs.append({"id": code, "name": name, "reference": reference,
                      "alpha_2": e.get("alpha_2"), "common": e.get("common_name")})
    names = {}
    for l in langs:
        if l["name"] in names:
            sys.exit("duplicate language name %r: %s and %s" % (l["name"], names[l["name"]], l["id"]))
        names[l["name"]] = l["id"]
    return langs


def load_countries():
    entries = json.load(open(os.path.join(ISO, "iso_3166-1.json"), encoding="utf-8"))["3166-1"]
    countries = [{"id": e["alpha_2"], "name": e.get("common_name", e["name"])} for e in entries]
    if len({c["name"] for c in countries}) != len(countries):
        sys.exit("duplicate country names")
    return countries


def cldr_code_map(langs):
    """CLDR language code -> list of ISO 639-3 ids it stands for."""
    by_code = {}
    ids = {l["id"] for l in langs}
    for l in langs:
        by_code.setdefault(l["alpha_2"] or l["id"], []).append(l["id"])
    meta = ET.parse(os.path.join(CLDR, "supplemental", "supplementalMetadata.xml"))
    individual = {}
    for a in meta.iter("languageAlias"):
        if a.get("reason") == "macrolanguage" and a.get("type") in ids:
            rep = a.get("replacement")
            by_code.setdefault(rep, []).append(a.get("type"))
            individual[a.get("type")] = rep
    for lid, rep in EXTRA_MACRO.items():
        if lid in ids and lid not in individual:
            by_code.setdefault(rep, []).append(lid)
            individual[lid] = rep
    return by_code, individual


def base_language(tag):
    return tag.replace("-", "_").split("_")[0]


def load_speakers(by_code, country_ids):
    data = ET.parse(os.path.join(CLDR, "supplemental", "supplementalData.xml"))
    speakers = {}
    for t in data.iter("territory"):
        country = t.get("type")
        if country not in country_ids:
            continue
        for lp in t.findall("languagePopulation"):
            for lid in by_code.get(base_language(lp.get("type")), []):
                speakers.setdefault(lid, set()).add(country)
    return speakers


def display_names(path):
    """(languages, territories) of one CLDR locale file, confirmed entries only."""
    langs, terrs = {}, {}
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError:
        return langs, terrs
    for el in root.iter("language"):
        if el.text and el.get("draft") not in ("unconfirmed", "provisional"):
            langs[(el.get("type"), el.get("alt"))] = el.text.strip()
    for el in root.iter("territory"):
        if el.text and el.get("draft") not in ("unconfirmed", "provisional"):
            terrs[(el.get("type"), el.get("alt"))] = el.text.strip()
    return langs, terrs


def load_alternate_names(langs, by_code, country_ids):
    alt = {}  # (lang id, country id) -> ordered names

    def add(lid, cid, name):
        if name:
            lst = alt.setdefault((lid, cid), [])
            if name not in lst:
                lst.append(name)

    for l in langs:
        add(l["id"], "", l["name"])
        add(l["id"], "", l["reference"])
        add(l["id"], "", l["common"])

    en_langs, _ = display_names(os.path.join(CLDR, "main", "en.xml"))
    main = os.path.join(CLDR, "main")
    for (tag, altkind), name in sorted(en_langs.items(), key=lambda kv: (kv[0][0], kv[0][1] or "")):
        parts = tag.split("_")
        targets = by_code.get(parts[0], [])
        country = parts[-1] if len(parts) > 1 and parts[-1] in country_ids else ""
        for lid in targets:
            add(lid, country, name)

    # Native names: each locale's name of its own language (and regional forms).
    for fn in sorted(os.listdir(main)):
        if not fn.endswith(".xml") or fn in ("root.xml",):
            continue
        locale = fn[:-4]
        parts = locale.split("_")
        targets = by_code.get(parts[0], [])
        if not targets:
            continue
        names, _ = display_names(os.path.join(main, fn))
        for (tag, altkind), name in sorted(names.items(), key=lambda kv: (kv[0][0], kv[0][1] or "")):
            tparts = tag.split("_")
            if tparts[0] != parts[0]:
                continue
            country = tparts[-1] if len(tparts) > 1 and tparts[-1] in country_ids else ""
            for lid in targets:
                add(lid, country, name)
    return alt


def german_names(langs, countries, by_code, individual):
    de_langs, de_terrs = display_names(os.path.join(CLDR, "main", "de.xml"))
    lang_de = {}
    for l in langs:
        code = l["alpha_2"] or l["id"]
        if l["id"] in individual:
            macro = individual[l["id"]]
            name = de_langs.get((macro, "menu"))
        else:
            name = de_langs.get((code, None))
        if name:
            lang_de[l["id"]] = name
    country_de = {}
    for c in countries:
        name = de_terrs.get((c["id"], "short")) or de_terrs.get((c["id"], None))
        if name:
            country_de[c["id"]] = name
    return unique_translations(langs, lang_de), unique_translations(countries, country_de)


def unique_translations(rows, translated):
    """Drops translations that would give two entries the same name."""
    translated = dict(translated)
    while True:
        seen = {}
        for r in rows:
            seen.setdefault(translated.get(r["id"], r["name"]), []).append(r["id"])
        clashes = [ids for ids in seen.values() if len(ids) > 1]
        if not clashes:
            return translated
        for ids in clashes:
            for i in ids:
                translated.pop(i, None)


def write_tsv(path, header, rows):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(header + "\n")
        for r in rows:
            for cell in r:
                if "\t" in cell or "\n" in cell:
                    sys.exit("bad cell %r" % cell)
            f.write("\t".join(r) + "\n")


def write_ts(path, context, rows, translated):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        f.write('<TS version="2.1" language="de_DE">\n<context>\n')
        f.write("    <name>%s</name>\n" % context)
        for r in rows:
            if r["id"] in translated:
                f.write("    <message>\n        <source>%s</source>\n"
                        "        <translation>%s</translation>\n    </message>\n"
                        % (escape(r["name"]), escape(translated[r["id"]])))
        f.write("</context>\n</TS>\n")


def main():
    header = "#generated\tiso-codes %s\tunicode-cldr-core %s" % (
        package_version("iso-codes"), package_version("unicode-cldr-core"))
    langs = load_languages()
    countries = load_countries()
    country_ids = {c["id"] for c in countries}
    by_code, individual = cldr_code_map(langs)
    speakers = load_speakers(by_code, country_ids)
    alt = load_alternate_names(langs, by_code, country_ids)
    lang_de, country_de = german_names(langs, countries, by_code, individual)

    os.makedirs(OUT_DATA, exist_ok=True)
    os.makedirs(OUT_TS, exist_ok=True)
    write_tsv(os.path.join(OUT_DATA, "languages.tsv"), header,
              [(l["id"], l["name"], l["reference"] if l["reference"] != l["name"] else "") for l in langs])
    write_tsv(os.path.join(OUT_DATA, "countries.tsv"), header,
              [(c["id"], c["name"]) for c in countries])
    write_tsv(os.path.join(OUT_DATA, "speakers.tsv"), header,
              [(lid, ",".join(sorted(cs))) for lid, cs in sorted(speakers.items())])
    write_tsv(os.path.join(OUT_DATA, "altnames.tsv"), header,
              [(lid, cid, n) for (lid, cid), names in sorted(alt.items()) for n in names])
    write_ts(os.path.join(OUT_TS, "Language-Deutsch.ts"), "Language", langs, lang_de)
    write_ts(os.path.join(OUT_TS, "Country-Deutsch.ts"), "Country", countries, country_de)
    print("%d languages, %d countries, %d languages with countries, %d German language names"
          % (len(langs), len(countries), len(speakers), len(lang_de)))


if __name__ == "__main__":
    main()
