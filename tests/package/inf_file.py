"""A reader of INF text as the platform's setup API reads it.

Sections in brackets (names case-insensitive, repeated sections merged),
'key=value' lines and lines of bare fields, ',' between fields, '"' quoting
('""' is a quote inside a quoted string), ';' starting a comment outside
quotes, a trailing '\\' continuing the line, and %token% replaced from the
[Strings] section ('%%' is a percent sign, numeric tokens are directory ids
and stay). What it cannot make sense of goes to `errors`, with line numbers.
"""

import re

TOKEN = re.compile(r"%([^%]*)%")


class InfLine:
    def __init__(self, number, raw_key, raw_fields, raw_value):
        self.number = number
        self.raw_key = raw_key  # None on a line without '='
        self.raw_fields = raw_fields
        self.raw_value = raw_value  # the text after '=', unsplit
        self.key = raw_key
        self.fields = list(raw_fields)

    def field(self, index):
        return self.fields[index] if index < len(self.fields) else ""


def decode(data):
    """(text, encoding): UTF-16 with its byte-order mark, UTF-8 with its
    mark, plain ASCII, or else the ANSI code page 1252."""
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le"), "utf-16"
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8"), "utf-8"
    try:
        return data.decode("ascii"), "ascii"
    except UnicodeDecodeError:
        return data.decode("cp1252", errors="replace"), "ansi"


def unquote(text):
    """The text of one field: outer blanks dropped, quotes removed."""
    out, quoted, i = [], False, 0
    text = text.strip()
    while i < len(text):
        c = text[i]
        if c == '"':
            if quoted and text[i + 1:i + 2] == '"':
                out.append('"')
                i += 1
            else:
                quoted = not quoted
        else:
            out.append(c)
        i += 1
    return "".join(out)


def split_outside_quotes(text, separator, limit=-1):
    parts, start, quoted = [], 0, False
    for i, c in enumerate(text):
        if c == '"':
            quoted = not quoted
        elif c == separator and not quoted and limit != 0:
            parts.append(text[start:i])
            start = i + 1
            limit -= 1
    parts.append(text[start:])
    return parts


def strip_comment(line):
    """(code, quote left open): the line up to a ';' outside quotes."""
    quoted = False
    for i, c in enumerate(line):
        if c == '"':
            quoted = not quoted
        elif c == ";" and not quoted:
            return line[:i], False
    return line, quoted


class InfFile:
    def __init__(self, text, encoding="ascii"):
        self.encoding = encoding
        self.errors = []
        self._sections = {}  # lower-case name -> (name, [InfLine])
        self._parse(text)
        self.strings = {line.raw_key.lower(): unquote(line.raw_value)
                        for line in self.lines("Strings") if line.raw_key is not None}
        for _, lines in self._sections.values():
            for line in lines:
                self._substitute(line)

    @classmethod
    def read(cls, path):
        with open(path, "rb") as f:
            text, encoding = decode(f.read())
        return cls(text, encoding)

    def _logical_lines(self, text):
        """(first line number, code) with comments cut and continuations joined."""
        pending, first = "", None
        for number, line in enumerate(text.splitlines(), 1):
            code, open_quote = strip_comment(line)
            if open_quote:
                self.errors.append(f"line {number}: quote not closed")
            code = code.rstrip()
            if first is None:
                first = number
            if code.endswith("\\"):
                pending += code[:-1]
                continue
            yield first, pending + code
            pending, first = "", None
        if first is not None:
            yield first, pending

    def _parse(self, text):
        current = None
        for number, code in self._logical_lines(text):
            stripped = code.strip()
            if not stripped:
                continue
            if stripped.startswith("["):
                end = stripped.find("]")
                if end < 0:
                    self.errors.append(f"line {number}: section name without ']'")
                    current = None
                    continue
                name = stripped[1:end].strip()
                current = self._sections.setdefault(name.lower(), (name, []))[1]
                continue
            if current is None:
                self.errors.append(f"line {number}: text before the first section")
                continue
            key_and_value = split_outside_quotes(code, "=", limit=1)
            if len(key_and_value) == 2:
                raw_key, raw_value = unquote(key_and_value[0]), key_and_value[1]
            else:
                raw_key, raw_value = None, code
            raw_fields = [unquote(f) for f in split_outside_quotes(raw_value, ",")]
            current.append(InfLine(number, raw_key, raw_fields, raw_value))

    def _replace(self, text, number):
        def token(match):
            name = match.group(1)
            if name == "":
                return "%"
            if name.isdigit():
                return match.group(0)
            if name.lower() in self.strings:
                return self.strings[name.lower()]
            self.errors.append(f"line {number}: %{name}% is not in [Strings]")
            return match.group(0)

        return TOKEN.sub(token, text)

    def _substitute(self, line):
        if line.raw_key is not None:
            line.key = self._replace(line.raw_key, line.number)
        line.fields = [self._replace(f, line.number) for f in line.raw_fields]

    def has_section(self, name):
        return name.lower() in self._sections

    def section_names(self):
        return [name for name, _ in self._sections.values()]

    def lines(self, section):
        """The section's lines; none when it is missing."""
        return self._sections.get(section.lower(), ("", []))[1]

    def find(self, section, key):
        """The section's first line with this key (case-insensitive), or None."""
        for line in self.lines(section):
            if line.key is not None and line.key.lower() == key.lower():
                return line
        return None

    def value(self, section, key):
        """The first field of the key's line, '' when there is none."""
        line = self.find(section, key)
        return line.field(0) if line else ""
