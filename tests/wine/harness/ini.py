"""Settings files as the suite writes them: UTF-16 LE with a BOM, CRLF lines."""

BOM = b"\xff\xfe"


def encode(text):
    # INI text (any line ends) as the bytes of a suite settings file.
    return BOM + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-16-le")


class IniFile:
    # Sections and keys in file order; lookups ignore case, as the profile API does.

    def __init__(self, sections):
        self.sections = sections  # [(name, [(key, value), ...]), ...]

    @classmethod
    def parse(cls, raw):
        if not raw.startswith(BOM):
            raise AssertionError(f"not UTF-16 LE with BOM: starts with {raw[:8]!r}")
        if len(raw) % 2:
            raise AssertionError(f"odd length {len(raw)} for UTF-16 text")
        text = raw[2:].decode("utf-16-le")
        sections = []
        for line in text.splitlines():
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                sections.append((line[1:-1], []))
            elif sections:
                key, sep, value = line.partition("=")
                sections[-1][1].append((key.strip(), value.strip() if sep else None))
        return cls(sections)

    def section_names(self):
        return [name for name, _ in self.sections]

    def section(self, name):
        # {key: value} of the first section of that name (KeyError if missing).
        for section_name, entries in self.sections:
            if section_name.lower() == name.lower():
                return {key: value for key, value in entries}
        raise KeyError(f"no section [{name}] in {self.section_names()}")

    def value(self, section, key):
        for name, value in self.section(section).items():
            if name.lower() == key.lower():
                return value
        return None
