#!/usr/bin/env python3
"""Turns the implementation guide data (data/*.xml) into the C++ tables of
tables.h. Usage: generate_tables.py MAP.xml DATAELE.xml CODES.xml OUT.cpp"""

import sys
import xml.etree.ElementTree as ET

# The element dictionary gives some lengths of later versions; these are the
# 004010 maximum lengths.
LENGTHS_4010 = {"1035": 35, "1036": 25, "127": 30, "364": 80}

TYPES = {"AN": "kAN", "ID": "kID", "R": "kR", "N0": "kN", "N2": "kN", "DT": "kDT", "TM": "kTM"}

# How findings name the loops that are not numbered loops of the guide.
LABELS = {"ISA_LOOP": "interchange", "GS_LOOP": "group", "ST_LOOP": "transaction set",
          "HEADER": "header", "DETAIL": "detail", "FOOTER": "footer"}

MAX_CHILDREN = 64
MAX_DEPTH = 12
NO_SEGMENT = 0xFFFF


def cpp_string(text):
    text = " ".join((text or "").split())
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def pack_code(code):
    """PackCode in tables.h; a code of more than eight characters gets a
    number no value can have."""
    data = code.encode("ascii")
    if len(data) > 8:
        return 0xFFFFFFFFFFFFFFFF
    value = 0
    for i in range(8):
        value = (value << 8) | (data[i] if i < len(data) else 0)
    return value


def id_bit(packed):
    """The bit of a segment identifier in a 64-bit set (IdBitIndex in tables.h)."""
    return ((packed * 0x9E3779B1) & 0xFFFFFFFF) >> 26


def pack(segment_id):
    value = 0
    for i, ch in enumerate(segment_id.encode("ascii")):
        value |= ch << (8 * i)
    return value


class Tables:
    def __init__(self, dictionary, codesets):
        self.dictionary = dictionary
        self.codesets = codesets
        self.codes = []
        self.code_lists = {}
        self.elements = []
        self.element_rows = {}
        self.syntax = []
        self.segments = []
        self.children = []
        self.openers = []
        self.loops = []

    def code_list(self, codes):
        key = tuple(sorted(set(codes), key=lambda c: c.encode("ascii")))
        if not key:
            return 0, 0
        # InCodes in tables.h searches longer lists by their packed numbers.
        assert len(key) <= 8 or all(len(c) <= 8 for c in key), key
        if key not in self.code_lists:
            self.code_lists[key] = len(self.codes)
            self.codes.extend(key)
        return self.code_lists[key], len(key)

    def element_codes(self, node):
        valid = node.find("valid_codes")
        if valid is None:
            return 0, 0
        codes = [c.text for c in valid.findall("code")]
        external = valid.get("external")
        if external:
            codes += self.codesets[external]
        return self.code_list(codes)

    def element_row(self, node, ref, seq):
        data_ele = node.findtext("data_ele")
        data_type, min_len, max_len = self.dictionary[data_ele]
        max_len = LENGTHS_4010.get(data_ele, max_len)
        begin, count = self.element_codes(node)
        return dict(ref=ref, name=node.findtext("name"), data_ele=data_ele, seq=seq,
                    usage=node.findtext("usage") or "S", type=TYPES[data_type],
                    decimals=int(data_type[1]) if data_type in ("N0", "N2") else 0,
                    min_len=min_len, max_len=max_len, codes_begin=begin, codes_count=count,
                    parts_begin=0, parts_count=0)

    def segment(self, node):
        seg_id = node.get("xid")
        rows = []
        parts = []
        for child in node:
            if child.tag == "element":
                seq = int(child.findtext("seq"))
                rows.append(self.element_row(child, "%s%02d" % (seg_id, seq), seq))
            elif child.tag == "composite":
                seq = int(child.findtext("seq"))
                ref = "%s%02d" % (seg_id, seq)
                components = [self.element_row(p, "%s-%d" % (ref, i + 1), i + 1)
                              for i, p in enumerate(child.findall("element"))]
                required = [c["seq"] for c in components if c["usage"] == "R"]
                rows.append(dict(ref=ref, name=child.findtext("name"),
                                 data_ele=child.findtext("data_ele") or "", seq=seq,
                                 usage=child.findtext("usage") or "S", type="kAN", decimals=0,
                                 min_len=0, max_len=0, codes_begin=0, codes_count=0,
                                 parts_begin=0, parts_count=len(components),
                                 parts_required=max(required or [0])))
                parts.append((len(rows) - 1, components))
        # Segments defined alike (the claim loops appear under the subscriber
        # and under the patient) share their element rows.
        key = repr((rows, parts))
        if key in self.element_rows:
            begin = self.element_rows[key]
        else:
            begin = len(self.elements)
            self.element_rows[key] = begin
            self.elements.extend(dict(r) for r in rows)
            for row_index, components in parts:
                self.elements[begin + row_index]["parts_begin"] = len(self.elements)
                self.elements.extend(components)
        syntax_begin = len(self.syntax)
        for rule in node.findall("syntax"):
            text = rule.text.strip()
            seqs = [int(text[i:i + 2]) for i in range(1, len(text), 2)]
            assert len(seqs) <= 7, text
            self.syntax.append((text[0], seqs))
        qualifier_seq = 3 if seg_id == "HL" else 1
        qualifier = next((r for r in rows if r["seq"] == qualifier_seq and r["parts_count"] == 0),
                         None)
        self.segments.append(dict(
            id=seg_id, name=node.findtext("name"), usage=node.findtext("usage") or "S",
            max_use=limit(node.findtext("max_use")), elements_begin=begin,
            elements_count=len(rows), last_seq=max(r["seq"] for r in rows),
            last_required=max([r["seq"] for r in rows if r["usage"] == "R"] or [0]),
            syntax_begin=syntax_begin, syntax_count=len(self.syntax) - syntax_begin,
            qualifier_seq=qualifier_seq if qualifier and qualifier["codes_count"] else 0,
            qualifier_begin=qualifier["codes_begin"] if qualifier else 0,
            qualifier_count=qualifier["codes_count"] if qualifier else 0))
        return len(self.segments) - 1

    def loop(self, node, depth):
        assert depth <= MAX_DEPTH
        index = len(self.loops)
        loop_id = node.get("xid")
        self.loops.append(None)
        kids = []
        for child in node:
            if child.tag == "segment":
                kids.append((False, self.segment(child), child.findtext("pos")))
            elif child.tag == "loop":
                kids.append((True, self.loop(child, depth + 1), child.findtext("pos")))
        assert len(kids) <= MAX_CHILDREN
        begin = len(self.children)
        for i, (is_loop, target, pos) in enumerate(kids):
            group = i
            while group > 0 and kids[group - 1][2] == pos:
                group -= 1
            opening = self.loops[target]["first_segment"] if is_loop else target
            allowed = self.loops[target]["repeat"] if is_loop else self.segments[target]["max_use"]
            self.children.append([is_loop, target, group, opening, 0, allowed])
        # Which identifiers can still come from each child on: a search for
        # a segment skips a loop at once when its identifier cannot.
        mask = 0
        for child in reversed(self.children[begin:]):
            if child[3] != NO_SEGMENT:
                mask |= 1 << id_bit(pack(self.segments[child[3]]["id"]))
            child[4] = mask
        first_segment = NO_SEGMENT  # an empty loop (the footer) never opens
        if kids:
            first = kids[0]
            first_segment = self.loops[first[1]]["first_segment"] if first[0] else first[1]
        openers_begin = len(self.openers)
        openers = sorted(
            (id_bit(pack(self.segments[child[3]]["id"])), pack(self.segments[child[3]]["id"]), i,
             self.segments[child[3]])
            for i, child in enumerate(self.children[begin:]) if child[3] != NO_SEGMENT)
        slots = [0xFF] * 64
        for k, (bit, _, _, _) in reversed(list(enumerate(openers))):
            slots[bit] = k
        self.openers.extend(openers)
        required = 0
        for i, (is_loop, target, _) in enumerate(kids):
            usage = self.loops[target]["usage"] if is_loop else self.segments[target]["usage"]
            if usage == "R":
                required |= 1 << i
        self.loops[index] = dict(
            id=loop_id, label=LABELS.get(loop_id, loop_id), numbered=loop_id not in LABELS,
            usage="R" if node.tag == "transaction" else (node.findtext("usage") or "S"),
            repeat=limit(node.findtext("repeat")), children_begin=begin,
            children_count=len(kids), required=required, openers_begin=openers_begin,
            openers_count=len(self.openers) - openers_begin, opener_slots=slots,
            first_segment=first_segment)
        return index


def limit(text):
    if not text or text.startswith(">"):
        return 0
    return int(text)


def find(tables, kind, xid):
    rows = tables.loops if kind == "loop" else tables.segments
    return next(i for i, r in enumerate(rows) if r["id"] == xid)


def write(tables, out):
    w = out.write
    w("// Generated by generate_tables.py from the implementation guide data. Do not edit.\n")
    w('#include "x12/guide/tables.h"\n\nnamespace wcomp837::guide {\nnamespace {\n\n')
    w("constexpr std::string_view kCodes[] = {\n")
    for code in tables.codes:
        w("    %s,\n" % cpp_string(code))
    w("};\n\nconstexpr std::uint64_t kPackedCodes[] = {\n")
    for code in tables.codes:
        w("    0x%016xull,\n" % pack_code(code))
    w("};\n\nconstexpr ElementDef kElements[] = {\n")
    for e in tables.elements:
        simple = (e["type"] in ("kAN", "kID") and e["usage"] != "N" and e["parts_count"] == 0
                  and e["max_len"] > 0)
        kind = "kOther" if not simple else ("kCode" if e["codes_count"] else "kText")
        w("    {%d, '%s', DataType::%s, %d, %d, %d, %d, %d, %d, %d, %d, %s},\n" % (
            e["seq"], e["usage"], e["type"], e["decimals"], e["min_len"], e["max_len"],
            e["codes_begin"], e["codes_count"], e["parts_begin"], e["parts_count"],
            e.get("parts_required", 0), "ElementDef::" + kind))
    w("};\n\nconstexpr ElementText kElementTexts[] = {\n")
    for e in tables.elements:
        w("    {%s, %s, %s},\n" % (cpp_string(e["ref"]), cpp_string(e["name"]),
                                  cpp_string(e["data_ele"])))
    w("};\n\nconstexpr SyntaxRule kSyntax[] = {\n")
    for kind, seqs in tables.syntax:
        w("    {'%s', %d, {%s}},\n" % (kind, len(seqs), ", ".join(str(s) for s in seqs)))
    w("};\n\nconstexpr SegmentDef kSegments[] = {\n")
    for s in tables.segments:
        w("    {%s, %s, %du, '%s', %d, %d, %d, %d, %d, %d, %d, %d, %d, %d},\n" % (
            cpp_string(s["id"]), cpp_string(s["name"]), pack(s["id"]), s["usage"], s["max_use"],
            s["elements_begin"], s["elements_count"], s["last_seq"], s["last_required"],
            s["syntax_begin"],
            s["syntax_count"], s["qualifier_seq"], s["qualifier_begin"], s["qualifier_count"]))
    w("};\n\nconstexpr ChildRef kChildren[] = {\n")
    for is_loop, target, group, opening, mask, limit in tables.children:
        w("    {%s, %d, %d, %d, %d, 0x%016xull},\n" % (
            "true" if is_loop else "false", target, group, opening, limit, mask))
    w("};\n\nconstexpr Opener kOpeners[] = {\n")
    for _, packed, child, seg in tables.openers:
        w("    {%du, %d, %d, %d, %d},\n" % (packed, child, seg["qualifier_seq"],
                                          seg["qualifier_count"], seg["qualifier_begin"]))
    w("};\n\nconstexpr std::uint8_t kOpenerSlots[] = {\n")
    for l in tables.loops:
        for i in range(0, 64, 16):
            w("    %s,\n" % ", ".join(str(v) for v in l["opener_slots"][i:i + 16]))
    w("};\n\nconstexpr LoopDef kLoops[] = {\n")
    for l in tables.loops:
        w("    {%s, %s, %s, '%s', %d, %d, %d, 0x%016xull, %d, %d, %d},\n" % (
            cpp_string(l["id"]), cpp_string(l["label"]), "true" if l["numbered"] else "false",
            l["usage"], l["repeat"], l["children_begin"], l["children_count"],
            l["required"], l["openers_begin"], l["openers_count"],
            l["first_segment"]))
    w("};\n\n}  // namespace\n\nconst GuideTables& Tables() {\n")
    w("  static constexpr GuideTables kTables{kCodes, kPackedCodes, kElements, kElementTexts,\n")
    w("                                      kSyntax, kSegments, kChildren, kOpeners,\n")
    w("                                      kOpenerSlots,\n")
    w("                                      kLoops, %d, %d, %d, %d, %d, %d};\n" % (
        find(tables, "loop", "ST_LOOP"), find(tables, "segment", "ISA"),
        find(tables, "segment", "IEA"), find(tables, "segment", "GS"),
        find(tables, "segment", "GE"), find(tables, "segment", "SE")))
    w("  return kTables;\n}\n\n}  // namespace wcomp837::guide\n")


def main(map_path, dataele_path, codes_path, out_path):
    dictionary = {}
    for e in ET.parse(dataele_path).getroot():
        dictionary[e.get("ele_num")] = (e.get("data_type"), int(e.get("min_len")),
                                        int(e.get("max_len")))
    codesets = {}
    for codeset in ET.parse(codes_path).getroot().findall("codeset"):
        codesets[codeset.findtext("id")] = [c.text for c in codeset.iter("code")]
    tables = Tables(dictionary, codesets)
    tables.loop(ET.parse(map_path).getroot(), 0)
    with open(out_path, "w", encoding="ascii") as out:
        write(tables, out)


if __name__ == "__main__":
    main(*sys.argv[1:5])
