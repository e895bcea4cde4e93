#!/usr/bin/env python3
"""Reads the UTF-8 string tables of vornik.dll and writes a C++ header of u8 literals.

Usage: generate_expected_strings.py <string_tables.rc> <resource_ids.h> <output.h>

The header gives the tests the texts as written in the sources, read without the resource
compiler, so that they can check what the compiler put into the DLL. Each language file
included by string_tables.rc becomes one table, named after the file. Only the subset of
the resource script the tables use is accepted; anything else stops the build.
"""

import os
import re
import sys

INCLUDE = re.compile(r'#include\s+"([^"]+)"$')
DEFINE = re.compile(r'#define\s+(IDS_\w+)\s+(\d+)\s*$')
ENTRY = re.compile(r'(\w+)\s+"((?:[^"]|"")*)"$')
DIRECTIVES = re.compile(r'(#pragma code_page\(65001\)|LANGUAGE\s+\w+\s*,\s*\w+|STRINGTABLE|BEGIN|END)$')


class SourceError(Exception):
    pass


def read_lines(path):
    with open(path, encoding='utf-8') as f:
        for number, line in enumerate(f, 1):
            text = line.strip()
            if text and not text.startswith('//'):
                yield number, text


def read_ids(header):
    ids = {}
    with open(header, encoding='utf-8') as f:
        for line in f:
            match = DEFINE.match(line.strip())
            if match:
                ids[match.group(1)] = int(match.group(2))
    return ids


def read_table(path, ids):
    """Returns [(id, name, text)] in file order."""
    entries = []
    seen = set()
    code_page_set = False
    for number, text in read_lines(path):
        where = f'{path}:{number}'
        directive = DIRECTIVES.match(text)
        if directive:
            code_page_set = code_page_set or text.startswith('#pragma')
            continue
        match = ENTRY.match(text)
        if not match:
            raise SourceError(f'{where}: not a string table line: {text}')
        name, literal = match.groups()
        if name not in ids:
            raise SourceError(f'{where}: {name} is not defined in resource_ids.h')
        if '\\' in literal:
            raise SourceError(f'{where}: backslashes are not used in the string tables')
        if ids[name] in seen:
            raise SourceError(f'{where}: {name} appears twice')
        if not code_page_set:
            raise SourceError(f'{where}: the file must set #pragma code_page(65001) first')
        seen.add(ids[name])
        entries.append((ids[name], name, literal.replace('""', '"')))
    return entries


def cpp_literal(text):
    return 'u8"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def identifier(tag):
    return 'k' + ''.join(part.capitalize() for part in re.split(r'[^A-Za-z0-9]', tag))


def main(tables_rc, ids_header, output):
    ids = read_ids(ids_header)
    folder = os.path.dirname(tables_rc)
    tables = []
    for number, text in read_lines(tables_rc):
        match = INCLUDE.match(text)
        if not match:
            raise SourceError(f'{tables_rc}:{number}: only #include lines are expected')
        path = os.path.join(folder, match.group(1))
        tables.append((os.path.splitext(match.group(1))[0], read_table(path, ids)))

    out = ['// Generated from src/resources/strings by generate_expected_strings.py.',
           '#pragma once', '', '#include <cstddef>', '', 'namespace vornik::expected_strings {',
           '', 'struct Text {', '  unsigned id;', '  const char* name;',
           '  const char* utf8;', '};', '', 'struct Table {', '  const char* tag;',
           '  const Text* texts;', '  std::size_t count;', '};', '']
    for tag, entries in tables:
        out.append(f'inline constexpr Text {identifier(tag)}[] = {{')
        out += [f'    {{{i}, "{name}", {cpp_literal(text)}}},' for i, name, text in entries]
        out += ['};', '']
    out.append('inline constexpr Table kTables[] = {')
    out += [f'    {{"{tag}", {identifier(tag)}, sizeof({identifier(tag)}) / sizeof(Text)}},'
            for tag, _ in tables]
    out += ['};', '', '}  // namespace vornik::expected_strings', '']

    text = '\n'.join(out)
    os.makedirs(os.path.dirname(output), exist_ok=True)
    with open(output, 'w', encoding='utf-8') as f:
        f.write(text)


if __name__ == '__main__':
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    try:
        main(*sys.argv[1:])
    except (SourceError, OSError) as error:
        sys.exit(f'generate_expected_strings: {error}')
