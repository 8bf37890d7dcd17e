#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace zephran::testing {

// Little-endian payload building for tests, independent of the application's records.
class PayloadBuilder {
public:
    PayloadBuilder& U8(std::uint8_t v) {
        bytes.push_back(v);
        return *this;
    }
    PayloadBuilder& I16(std::int16_t v) { return Raw(&v, sizeof v); }
    PayloadBuilder& Float(float v) { return Raw(&v, sizeof v); }
    PayloadBuilder& Double(double v) { return Raw(&v, sizeof v); }
    std::vector<std::uint8_t> bytes;

private:
    PayloadBuilder& Raw(const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
        return *this;
    }
};

// Floats one after another, as the boards send them.
inline std::vector<std::uint8_t> Floats(std::initializer_list<float> values) {
    PayloadBuilder b;
    for (float v : values)
        b.Float(v);
    return b.bytes;
}

// The payload of a frame image written by the application.
inline std::vector<std::uint8_t> PayloadOf(const std::vector<std::uint8_t>& frame) {
    if (frame.size() < 8) return {};
    return {frame.begin() + 6, frame.end() - 2};
}

inline double DoubleAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    double v = 0;
    if (offset + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

inline float FloatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    float v = 0;
    if (offset + sizeof v <= bytes.size()) std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

}  // namespace zephran::testing
