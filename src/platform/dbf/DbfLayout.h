#pragma once
// Byte layout of dBase table files (.DBF) and their memo companions (.DBT).
// All multi-byte numbers in the headers are little-endian.

#include <cstddef>
#include <cstdint>

namespace kv::dbf::layout {

// --- table file header (32 bytes, then 32 bytes per field, then 0x0D) -------
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kVersionOffset = 0;         // 1 byte
inline constexpr std::size_t kUpdateDateOffset = 1;      // 3 bytes: year - 1900, month, day
inline constexpr std::size_t kRecordCountOffset = 4;     // uint32
inline constexpr std::size_t kHeaderLengthOffset = 8;    // uint16
inline constexpr std::size_t kRecordLengthOffset = 10;   // uint16
inline constexpr std::size_t kLanguageDriverOffset = 29; // 1 byte

inline constexpr std::uint8_t kVersionNoMemo = 0x03;     // dBase III/IV without memo
inline constexpr std::uint8_t kVersionDBase3Memo = 0x83; // dBase III with .DBT
inline constexpr std::uint8_t kVersionDBase4Memo = 0x8B; // dBase IV with .DBT
inline constexpr std::uint8_t kLanguageDriverCp1251 = 0xC9;

// --- field descriptor --------------------------------------------------------
inline constexpr std::size_t kFieldDescriptorSize = 32;
inline constexpr std::size_t kFieldNameSize = 11; // NUL padded
inline constexpr std::size_t kFieldTypeOffset = 11;
inline constexpr std::size_t kFieldLengthOffset = 16;
inline constexpr std::size_t kFieldDecimalsOffset = 17;
inline constexpr std::uint8_t kFieldTerminator = 0x0D;

// --- records -------------------------------------------------------------------
inline constexpr char kRecordActive = ' ';
inline constexpr char kRecordDeleted = '*';
inline constexpr std::uint8_t kEndOfFile = 0x1A;
inline constexpr int kMemoPointerLength = 10; // ASCII block number, blank = none

// --- memo file -----------------------------------------------------------------
inline constexpr std::size_t kMemoHeaderSize = 512;
inline constexpr std::size_t kMemoNextFreeOffset = 0;   // uint32, in blocks
inline constexpr std::size_t kMemoVersionOffset = 16;   // dBase III: 0x03
inline constexpr std::size_t kMemoBlockSizeOffset = 20; // dBase IV: uint16
inline constexpr std::uint32_t kDBase3BlockSize = 512;
inline constexpr std::uint8_t kMemoTextEnd = 0x1A; // dBase III: text ends with 1A 1A
// dBase IV: every memo starts with FF FF 08 00 and a uint32 length that
// counts these 8 bytes too.
inline constexpr std::uint8_t kDBase4MemoSignature[4] = {0xFF, 0xFF, 0x08, 0x00};
inline constexpr std::size_t kDBase4MemoPrefixSize = 8;

} // namespace kv::dbf::layout
