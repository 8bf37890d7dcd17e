#include "sim/gpsins_board.h"

#include <memory>

namespace zephran::sim::gpsins {
namespace {

// Gyro, acc, gyro and acc random walk; GPS horizontal and vertical position and velocity,
// barometer, acc without GPS, magnetic yaw, acc.
constexpr QrParameters kFactory{2e-8,   0.002, 1e-9, 1e-20, 0.04, 0.01,
                                0.0025, 100.0, 0.5,  1e-5,  1e-4, 0.002};

constexpr std::size_t Offset(std::size_t n) {
    return 1 + 8 * n;
}

}  // namespace

const QrParameters& FactoryQr() {
    return kFactory;
}

Bytes EncodeQr(const QrParameters& parameters) {
    Bytes record;
    PutU8(record, 0, kQrTag);
    for (std::size_t n = 0; n < kQrCount; ++n)
        PutDouble(record, Offset(n), parameters[n]);
    return record;
}

QrParameters DecodeQr(std::span<const std::uint8_t> record) {
    QrParameters parameters{};
    for (std::size_t n = 0; n < kQrCount; ++n)
        parameters[n] = GetDouble(record, Offset(n));
    return parameters;
}

}  // namespace zephran::sim::gpsins

namespace zephran::sim {

void InstallGpsIns(Board& board) {
    using namespace gpsins;
    auto qr = std::make_shared<QrParameters>(kFactory);
    // Requests of another length than their layout are malformed and go unanswered.
    board.Handle(kGroup, kQrRead, [qr](std::span<const std::uint8_t> request, Board& b) {
        if (request.empty()) b.Send(kGroup, kQrRead, EncodeQr(*qr));
    });
    // The leading byte stays the board's own tag, whatever the tool sends back.
    board.Handle(kGroup, kQrWrite, [qr](std::span<const std::uint8_t> request, Board& b) {
        if (request.size() != kQrSize) return;
        *qr = DecodeQr(request);
        b.Send(kGroup, kQrWrite);
    });
    board.Handle(kGroup, kQrDefault, [qr](std::span<const std::uint8_t> request, Board& b) {
        if (!request.empty()) return;
        *qr = kFactory;
        b.Send(kGroup, kQrDefault);
    });
}

}  // namespace zephran::sim
