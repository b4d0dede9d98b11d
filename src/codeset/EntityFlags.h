#pragma once

// Which character entity forms encoders may write and decoders may read.
constexpr unsigned NamedEntities = 0x001;
constexpr unsigned HexEntities = 0x002;
constexpr unsigned DecimalEntities = 0x004;
constexpr unsigned EscapeLessThan = 0x020;
constexpr unsigned EscapeQuotes = 0x040;
constexpr unsigned MarkerAsLessThan = 0x080;
constexpr unsigned DecimalFirst = 0x100;

// What the conversion uses for encoding when the user allows entities.
constexpr unsigned ConversionEntityFlags =
    NamedEntities | DecimalEntities | EscapeLessThan | EscapeQuotes;
