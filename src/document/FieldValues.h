// Typed reading and writing of fields: register lines, whole small blocks and elements of
// memory blocks addressed by sub-field keys ("CRAM|$A|2").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/FieldSpec.h"

namespace vantor {

class TLayout;
class SavestateImage;

struct TFieldValue {
  bool Ok = false;
  int64_t Value = 0;
  TFieldSpec Spec;       // the field as effectively read: exactly the bytes read
  int ByteCount = 0;     // bytes read (1..8 on success)
  bool PastEnd = false;  // TryReadField only: the field lies (partly) past the image's end
};

// A read past the end of the image throws EFileError "Stream read error".
TFieldValue ReadField(const TLayout& layout, SavestateImage& image, std::string_view section,
                      std::string_view key);
// ReadField for an image that may be shorter than its layout: a field past the image's end is
// not read (Ok false, PastEnd true) instead of failing; Spec names it all the same.
TFieldValue TryReadField(const TLayout& layout, SavestateImage& image, std::string_view section,
                         std::string_view key);
bool WriteField(const TLayout& layout, SavestateImage& image, std::string_view section,
                std::string_view key, int64_t value);
bool ReadFieldValueAt(const TLayout& layout, SavestateImage& image, std::string_view section,
                      std::string_view key, int64_t relativeOffset, int count, int64_t& value);
bool WriteFieldValueAt(const TLayout& layout, SavestateImage& image, std::string_view section,
                       std::string_view key, int64_t relativeOffset, int64_t value, int count);

// The sub-field key of element (relativeOffset, size) of the block `key`, e.g. "VSRAM|$4E|2".
std::string SubFieldKey(const TLayout& layout, std::string_view key, int64_t relativeOffset,
                        int32_t size);

// Hexadecimal ("$0A"), decimal ("10") and binary ("%00001010") texts of an n-byte value.
std::array<std::string, 3> FormatFieldTexts(int64_t value, int n);

enum class TColumnKind { ckHex = 0, ckDecimal = 1, ckBinary = 2 };

// The value cut to the field's width (spec.Size, 1 to 8 bytes): sign-extended for a signed
// field, its low bytes otherwise.
int64_t NormaliseFieldValue(int64_t value, const TFieldSpec& spec);

// The value the user's text stands for, with "+", "-", "*", "/" stepping, normalised to the
// field's width and sign.
int64_t ParseFieldInput(TColumnKind kind, std::string_view text, int64_t currentValue,
                        const TFieldSpec& spec);

}  // namespace vantor
