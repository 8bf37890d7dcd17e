// Link-layer throughput: the CRC beside Boost's CRC-16 (the same CRC-16/ARC), and the frame
// parser on a stream of 49-byte live frames, in runs as the port hands them over and byte by
// byte.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <boost/crc.hpp>
#include <random>
#include <vector>

#include "link/crc16.h"
#include "link/frame_receiver.h"

namespace {

std::vector<std::uint8_t> RandomBytes(std::size_t count) {
    std::mt19937 random(7);
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

void BM_CalcCrc16(benchmark::State& state) {
    const auto buffer = RandomBytes(2048);
    for (auto _ : state) {
        benchmark::DoNotOptimize(zephran::CalcCrc16(buffer.data(), buffer.size()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_CalcCrc16);

void BM_BoostCrc16(benchmark::State& state) {
    const auto buffer = RandomBytes(2048);
    for (auto _ : state) {
        boost::crc_16_type crc;
        crc.process_bytes(buffer.data(), buffer.size());
        benchmark::DoNotOptimize(crc.checksum());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * buffer.size()));
}
BENCHMARK(BM_BoostCrc16);

struct CountingDispatcher : zephran::FrameDispatcher {
    int DispatchFrame(const zephran::ReceiveArea& frame) override {
        payloadBytes += frame.Length();
        return 0;
    }
    std::size_t payloadBytes = 0;
};

// 1000 live frames (group 15, message 1) of 49 payload bytes each.
std::vector<std::uint8_t> LiveStream() {
    const auto payload = RandomBytes(49);
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 1000; ++i) {
        std::vector<std::uint8_t> body{15, 1, 49, 0};
        body.insert(body.end(), payload.begin(), payload.end());
        const auto crc = zephran::CalcCrc16(body.data(), body.size());
        stream.push_back(zephran::kSync1);
        stream.push_back(zephran::kSync2);
        stream.insert(stream.end(), body.begin(), body.end());
        stream.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        stream.push_back(static_cast<std::uint8_t>(crc >> 8));
    }
    return stream;
}

// How many times the fastest line rate (256000 baud, 25,600 bytes/s) the parser keeps up with.
void CountLineRate(benchmark::State& state, std::size_t streamBytes,
                   const CountingDispatcher& dispatcher) {
    if (dispatcher.payloadBytes != static_cast<std::size_t>(state.iterations()) * 1000 * 49) {
        state.SkipWithError("frames were lost");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * streamBytes));
    state.counters["x_line_rate"] =
        benchmark::Counter(static_cast<double>(state.iterations() * streamBytes) / 25600.0,
                           benchmark::Counter::kIsRate);
}

// The receive path: runs of 256 bytes, a typical batch of the port's monitor thread.
void BM_FrameParser(benchmark::State& state) {
    const auto stream = LiveStream();
    constexpr std::size_t kRun = 256;
    CountingDispatcher dispatcher;
    zephran::FrameReceiver receiver(dispatcher);
    for (auto _ : state) {
        for (std::size_t at = 0; at < stream.size(); at += kRun)
            receiver.ParseBytes(stream.data() + at, std::min(kRun, stream.size() - at));
    }
    CountLineRate(state, stream.size(), dispatcher);
}
BENCHMARK(BM_FrameParser);

// One call per byte, as the state machine is specified.
void BM_FrameParserByByte(benchmark::State& state) {
    const auto stream = LiveStream();
    CountingDispatcher dispatcher;
    zephran::FrameReceiver receiver(dispatcher);
    for (auto _ : state) {
        for (auto b : stream)
            receiver.FrameParser(b);
    }
    CountLineRate(state, stream.size(), dispatcher);
}
BENCHMARK(BM_FrameParserByByte);

}  // namespace

BENCHMARK_MAIN();
