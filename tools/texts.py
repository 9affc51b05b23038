#!/usr/bin/env python3
"""The program's texts and their English translation.

The Chinese texts are the source texts: every string literal with a CJK
character in the product's sources. translations/morsk_en.ts (Qt's
translation format, for Qt Linguist) holds their English.

  texts.py check TS [--strict]   lists every text that has no translation
                                 (a warning each; --strict: exit 1)
  texts.py table TS OUT          writes the C++ table the program looks texts
                                 up in (the core has no Qt, so not a .qm)
  texts.py merge TS              adds the texts the .ts lacks, untranslated, and
                                 drops those the sources no longer have
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE_DIRS = ['app', 'base', 'buffer', 'catalogue', 'cli', 'core', 'fuses', 'hexedit', 'link']
CJK = re.compile(r'[\u3000-\u303f\u4e00-\u9fff\uff00-\uffef]')
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
ESCAPES = {'n': '\n', 't': '\t', '"': '"', '\\': '\\', "'": "'", 'r': '\r'}
CONTEXT = 'morsk'


def unescape(text):
    return re.sub(r'\\(.)', lambda m: ESCAPES.get(m.group(1), m.group(0)), text)


def source_texts():
    found = {}
    for d in SOURCE_DIRS:
        folder = os.path.join(HERE, d)
        for name in sorted(os.listdir(folder)):
            if not name.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding='utf-8') as f:
                for number, line in enumerate(f, 1):
                    stripped = line.lstrip()
                    if stripped.startswith('//'):
                        continue  # an example in a comment is no text of the program
                    for m in LITERAL.finditer(line):
                        if CJK.search(m.group(1)):
                            found.setdefault(unescape(m.group(1)), '%s/%s:%d' % (d, name, number))
    return found


def read_ts(path):
    tree = ET.parse(path)
    out = {}
    for message in tree.getroot().iter('message'):
        source = message.findtext('source') or ''
        translation = message.find('translation')
        done = translation is not None and translation.get('type') != 'unfinished' and (translation.text or '')
        out[source] = translation.text if done else None
    return out


def write_ts(path, entries):
    root = ET.Element('TS', version='2.1', language='en', sourcelanguage='zh_CN')
    context = ET.SubElement(root, 'context')
    ET.SubElement(context, 'name').text = CONTEXT
    for source in sorted(entries):
        message = ET.SubElement(context, 'message')
        ET.SubElement(message, 'source').text = source
        t = ET.SubElement(message, 'translation')
        if entries[source] is None:
            t.set('type', 'unfinished')
        else:
            t.text = entries[source]
    ET.indent(root)
    with open(path, 'w', encoding='utf-8') as f:
        f.write('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        f.write(ET.tostring(root, encoding='unicode'))
        f.write('\n')


def cxx(text):
    out = ''
    for ch in text:
        if ch in '"\\':
            out += '\\' + ch
        elif ch == '\n':
            out += '\\n'
        elif ch == '\t':
            out += '\\t'
        else:
            out += ch
    return '"' + out + '"'


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    command, ts = argv[1], argv[2]
    texts = source_texts()
    translated = read_ts(ts)
    if command == 'check':
        missing = [t for t in texts if not translated.get(t)]
        for t in missing:
            print('%s: warning: no English text for "%s"' % (texts[t], t.replace('\n', '\\n')), file=sys.stderr)
        if missing and '--strict' in argv:
            sys.exit(1)
    elif command == 'table':
        lines = ['// Made by tools/texts.py from translations/morsk_en.ts: do not edit.',
                 '#include "translate.h"', '', 'namespace morsk {', '',
                 'const TextPair kEnglishTexts[] = {']
        for source in sorted(translated):
            if translated[source]:
                lines.append('    {%s, %s},' % (cxx(source), cxx(translated[source])))
        lines += ['};', 'const size_t kEnglishTextCount = sizeof kEnglishTexts / sizeof kEnglishTexts[0];', '',
                  '}  // namespace morsk', '']
        out = argv[3]
        text = '\n'.join(lines)
        if not os.path.exists(out) or open(out, encoding='utf-8').read() != text:
            with open(out, 'w', encoding='utf-8') as f:
                f.write(text)
    elif command == 'merge':
        write_ts(ts, {t: translated.get(t) for t in texts})
    else:
        sys.exit(__doc__)


if __name__ == '__main__':
    main(sys.argv)
