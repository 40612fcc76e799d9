"""Writes a C++ source that holds a file's bytes, so that lxpack carries
the verification jar inside its own program and works wherever it is
installed, without the build tree.

usage: embed_file.py INPUT OUTPUT SYMBOL
"""
import sys


def main(source, output, symbol):
    data = open(source, "rb").read()
    lines = []
    for start in range(0, len(data), 16):
        lines.append("    " + ", ".join(str(b) for b in data[start:start + 16]) + ",")
    text = (
        "// Generated from %s by tools/lxpack/embed_file.py; do not edit.\n"
        "#include <cstddef>\n\n"
        "extern const unsigned char %s[];\n"
        "extern const size_t %sSize;\n\n"
        "const unsigned char %s[] = {\n%s\n};\n"
        "const size_t %sSize = %d;\n" % (source, symbol, symbol, symbol, "\n".join(lines), symbol, len(data))
    )
    open(output, "w").write(text)


if __name__ == "__main__":
    main(*sys.argv[1:])
