// LZARI against zlib (level 6) and xz (preset 6): compress and decompress
// speed on each corpus input, with the compressed/original ratio.
#include <benchmark/benchmark.h>
#include <lzma.h>
#include <stdlib.h>
#include <zlib.h>

#include <functional>

#include "codec/lzari.h"
#include "corpus.h"
#include "summary.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Codec {
    const char* name;
    std::function<Bytes(const Bytes&)> compress;
    std::function<Bytes(const Bytes&, size_t)> decompress;
};

Bytes LzariCompress(const Bytes& in) {
    uint32_t length = 0;
    uint8_t* out = LzariEncode(in.data(), (uint32_t)in.size(), &length);
    Bytes result(out, out + length);
    free(out);
    return result;
}

Bytes LzariDecompress(const Bytes& in, size_t) {
    uint32_t length = 0;
    uint8_t* out = LzariDecode(in.data(), (uint32_t)in.size(), &length);
    Bytes result(out, out + length);
    free(out);
    return result;
}

Bytes ZlibCompress(const Bytes& in) {
    uLongf length = compressBound(in.size());
    Bytes out(length);
    compress2(out.data(), &length, in.data(), in.size(), 6);
    out.resize(length);
    return out;
}

Bytes ZlibDecompress(const Bytes& in, size_t original) {
    uLongf length = original;
    Bytes out(original);
    if (uncompress(out.data(), &length, in.data(), in.size()) != Z_OK) out.clear();
    return out;
}

Bytes XzCompress(const Bytes& in) {
    Bytes out(lzma_stream_buffer_bound(in.size()));
    size_t length = 0;
    lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr, in.data(), in.size(), out.data(),
                            &length, out.size());
    out.resize(length);
    return out;
}

Bytes XzDecompress(const Bytes& in, size_t original) {
    Bytes out(original);
    uint64_t memlimit = UINT64_MAX;
    size_t inPos = 0, outPos = 0;
    if (lzma_stream_buffer_decode(&memlimit, 0, nullptr, in.data(), &inPos, in.size(), out.data(),
                                  &outPos, out.size()) != LZMA_OK) {
        out.clear();  // reported as a mismatch
    }
    return out;
}

void Compress(benchmark::State& state, const Codec& codec, const CorpusInput& input) {
    Bytes packed;
    for (auto _ : state) {
        packed = codec.compress(input.bytes);
        benchmark::DoNotOptimize(packed.data());
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)input.bytes.size());
    state.counters["ratio"] = (double)packed.size() / (double)input.bytes.size();
}

void Decompress(benchmark::State& state, const Codec& codec, const CorpusInput& input) {
    const Bytes packed = codec.compress(input.bytes);
    Bytes unpacked;
    for (auto _ : state) {
        unpacked = codec.decompress(packed, input.bytes.size());
        benchmark::DoNotOptimize(unpacked.data());
    }
    if (unpacked != input.bytes) state.SkipWithError("decompressed bytes differ from the input");
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)input.bytes.size());
    state.counters["ratio"] = (double)packed.size() / (double)input.bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    static const std::vector<CorpusInput> corpus = BuildCorpus();
    static const Codec codecs[] = {{"lzari", LzariCompress, LzariDecompress},
                                   {"zlib6", ZlibCompress, ZlibDecompress},
                                   {"xz6", XzCompress, XzDecompress}};
    for (const CorpusInput& input : corpus) {
        for (const Codec& codec : codecs) {
            std::string suffix = std::string(codec.name) + "/" + input.name;
            benchmark::RegisterBenchmark(("compress/" + suffix).c_str(), Compress, codec, input)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("decompress/" + suffix).c_str(), Decompress, codec, input)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
