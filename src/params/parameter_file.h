#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "link/text_source.h"
#include "params/parameter_snapshot.h"

namespace zephran {

// No parameter file comes near this; a larger file is refused unread.
inline constexpr std::size_t kMaxParameterFileSize = 1 << 20;

// A parameter file as JSON: the format and its version, the product, the date, and per set
// its name, its fields by name with value and unit, and its record as hexadecimal bytes.
std::string WriteParameterFile(const ParameterSnapshot& snapshot);

// What reading a file gave: the sets, or why the file does not check out.
struct FileReading {
    std::optional<ParameterSnapshot> snapshot;
    std::string error;
};

// Reads a file for product, whose sets are layouts. Every field must be there with its unit and
// a value its type and range take; the record must have its set's size. A set's record is the
// file's bytes with the values laid over them, so a value edited by hand counts; a number the
// board held as infinite or not a number is written as null and taken from the bytes. The error
// is in the language of texts.
FileReading ReadParameterFile(std::string_view text, std::string_view product,
                              std::span<const SetLayout> layouts, const TextSource& texts);

}  // namespace zephran
