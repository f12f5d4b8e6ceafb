#pragma once

namespace kavrin::cp932 {

// Lead bytes 0x81-0x9F and 0xE0-0xFC; trail bytes 0x40-0x7E and 0x80-0xFC.
inline constexpr int kLeadCount = 60;
inline constexpr int kTrailCount = 188;

// Double-byte codes that decode to a character whose own code is another one
// (the copies in row 13, in rows 89-92 and in rows 115-119) get a reserved
// unit each, so they survive a save.
inline constexpr char16_t kDuplicateBase = 0xF400;
inline constexpr int kDuplicateCount = 398;

// Bytes that do not decode are held as kRawByteBase + byte.
inline constexpr char16_t kRawByteBase = 0xF700;

// Indexed by leadIndex * kTrailCount + trailIndex: the UTF-16 unit of the
// code, a reserved duplicate unit, or 0 when the code has no mapping.
extern const char16_t kDoubleByteTable[kLeadCount * kTrailCount];

} // namespace kavrin::cp932
