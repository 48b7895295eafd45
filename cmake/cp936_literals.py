#!/usr/bin/env python3
"""Writes a C++ source with every character outside ASCII in its string and
character literals spelled as its code page 936 bytes (\\xNN escapes), so any
compiler stores the module's texts in code page 936 from readable UTF-8
sources. Everything else, comments included, is copied unchanged.

    cp936_literals.py SOURCE OUTPUT
"""
import sys

HEX = set('0123456789abcdefABCDEF')


def escaped(source):
    out = []
    i, n = 0, len(source)
    while i < n:
        c = source[i]
        if source.startswith('//', i):
            end = source.find('\n', i)
            end = n if end < 0 else end
            out.append(source[i:end]); i = end
        elif source.startswith('/*', i):
            end = source.find('*/', i + 2)
            end = n if end < 0 else end + 2
            out.append(source[i:end]); i = end
        elif c in '"\'':
            i = literal(source, i, out)
        else:
            out.append(c); i += 1
    return ''.join(out)


def literal(source, i, out):
    quote = source[i]
    out.append(quote)
    i += 1
    after_escape = False  # a \x escape was just written: a hex digit would join it
    while i < len(source):
        c = source[i]
        if c == '\\':
            out.append(source[i:i + 2]); i += 2; after_escape = False
        elif c == quote:
            out.append(c); return i + 1
        elif c == '\n':
            raise SystemExit('unterminated literal')
        elif ord(c) > 0x7F:
            try:
                data = c.encode('gbk')
            except UnicodeEncodeError:
                raise SystemExit('%r has no form in code page 936' % c)
            out.append(''.join('\\x%02X' % b for b in data)); i += 1; after_escape = True
        else:
            if after_escape and c in HEX and quote == '"':
                out.append('" "')
            out.append(c); i += 1; after_escape = False
    raise SystemExit('unterminated literal')


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding='utf-8') as f:
        text = f.read()
    with open(sys.argv[2], 'w', encoding='utf-8', newline='\n') as f:
        f.write(escaped(text))
