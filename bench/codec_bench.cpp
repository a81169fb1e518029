// Encode and decode speed of this tree's LZARI codec beside an earlier
// commit's (--baseline, built by scripts/bench.sh), the same tree's as the
// i686 runtime builds it (--runtime: -Os, integer paths), zlib -6 and xz -6 on
// the corpus inputs, as one table in MB/s of original bytes. The codecs
// take turns, and each figure is the best of its runs by CPU time (by the
// wall clock for the threaded encoder), so that other work on the machine
// skews the ratios as little as it can.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <cmath>

#include "bench/codecs.h"
#include "bench/corpus.h"

namespace {

struct Options {
    const char* baseline = nullptr;
    const char* runtime = nullptr;
    double minSeconds = 0.5;  // per figure, and at least MinRuns runs
};

enum { MinRuns = 2, MaxRuns = 20 };

double Seconds(clockid_t clock) {
    timespec t;
    clock_gettime(clock, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

struct Timing {
    double best = 1e30, total = 0;
    int runs = 0;
    bool Done(double minSeconds) const { return runs >= MaxRuns || (runs >= MinRuns && total >= minSeconds); }
    void Add(double seconds) {
        best = seconds < best ? seconds : best;
        total += seconds;
        runs++;
    }
};

// Runs `once` for each codec in turn until every codec has its figure.
template <typename Run>
std::vector<double> BestSeconds(const std::vector<Codec>& codecs, bool decode, double minSeconds, Run once) {
    std::vector<Timing> timings(codecs.size());
    for (bool pending = true; pending;) {
        pending = false;
        for (size_t c = 0; c < codecs.size(); c++) {
            if (timings[c].Done(minSeconds)) continue;
            clockid_t clock = codecs[c].threads && !decode ? CLOCK_MONOTONIC : CLOCK_PROCESS_CPUTIME_ID;
            double start = Seconds(clock);
            once(c);
            timings[c].Add(Seconds(clock) - start);
            pending = pending || !timings[c].Done(minSeconds);
        }
    }
    std::vector<double> best;
    for (size_t c = 0; c < codecs.size(); c++) best.push_back(timings[c].best);
    return best;
}

struct Row {
    std::string label;
    std::vector<double> values;  // one per codec
};

std::string Label(const char* what, const CorpusInput& input) {
    char size[32];
    snprintf(size, sizeof size, " (%.1f MB)", (double)input.bytes.size() / 1e6);
    return std::string(what) + " " + input.name + size;
}

// Speed and size rows for one input; false when a codec does not give the
// input back.
bool Measure(const std::vector<Codec>& codecs, const CorpusInput& input, double minSeconds, Row* decode, Row* encode,
             Row* size) {
    std::vector<Bytes> packed;
    for (const Codec& codec : codecs) {
        packed.push_back(codec.compress(input.bytes));
        if (codec.decompress(packed.back(), input.bytes.size()) != input.bytes) {
            fprintf(stderr, "%s does not give %s back\n", codec.name.c_str(), input.name.c_str());
            return false;
        }
    }
    const double megabytes = (double)input.bytes.size() / 1e6;
    *decode = {Label("decode", input), {}};
    for (double s :
         BestSeconds(codecs, true, minSeconds, [&](size_t c) { codecs[c].decompress(packed[c], input.bytes.size()); }))
        decode->values.push_back(megabytes / s);
    *encode = {Label("encode", input), {}};
    for (double s : BestSeconds(codecs, false, minSeconds, [&](size_t c) { codecs[c].compress(input.bytes); }))
        encode->values.push_back(megabytes / s);
    *size = {Label("size % of", input), {}};
    for (const Bytes& p : packed) size->values.push_back(100.0 * (double)p.size() / (double)input.bytes.size());
    return true;
}

// LZARI columns are followed by their ratio to the baseline.
bool Compared(const std::vector<Codec>& codecs, size_t c) {
    const std::string& name = codecs[c].name;
    return codecs[0].name == "baseline" && (name == "current" || name == "runtime" || codecs[c].threads);
}

void PrintRow(const Row& row, const std::vector<Codec>& codecs, bool withRatio) {
    printf("%-36s", row.label.c_str());
    for (size_t c = 0; c < codecs.size(); c++) {
        if (std::isnan(row.values[c])) {
            printf(" %10s", "-");
        } else {
            printf(" %10.1f", row.values[c]);
        }
        if (!Compared(codecs, c)) continue;
        if (withRatio && !std::isnan(row.values[c])) {
            printf(" %9.2fx", row.values[c] / row.values[0]);
        } else {
            printf(" %10s", "");
        }
    }
    printf("\n");
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--baseline") == 0 && i + 1 < argc) {
            options->baseline = argv[++i];
        } else if (strcmp(argv[i], "--runtime") == 0 && i + 1 < argc) {
            options->runtime = argv[++i];
        } else if (strcmp(argv[i], "--min-seconds") == 0 && i + 1 < argc) {
            options->minSeconds = atof(argv[++i]);
        } else {
            fprintf(stderr, "usage: %s [--baseline LIBRARY.so] [--runtime LIBRARY.so] [--min-seconds S]\n", argv[0]);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) return 2;
    std::vector<Codec> codecs = BuiltInCodecs();
    // The runtime's build stands beside the current one, the baseline first.
    const struct {
        const char* path;
        const char* name;
        size_t at;
    } loads[] = {{options.runtime, "runtime", 1}, {options.baseline, "baseline", 0}};
    for (const auto& load : loads) {
        if (!load.path) continue;
        Codec codec;
        std::string message;
        if (!LoadCodec(load.path, load.name, &codec, &message)) {
            fprintf(stderr, "%s: %s\n", load.path, message.c_str());
            return 1;
        }
        codecs.insert(codecs.begin() + load.at, codec);
    }

    std::vector<Row> decodes, encodes, sizes;
    for (const CorpusInput& input : BuildCorpus()) {
        Row decode, encode, size;
        if (!Measure(codecs, input, options.minSeconds, &decode, &encode, &size)) return 1;
        decodes.push_back(decode);
        encodes.push_back(encode);
        sizes.push_back(size);
    }

    printf("%-36s", "MB/s (best run)");
    for (size_t c = 0; c < codecs.size(); c++) {
        printf(" %10s", codecs[c].name.c_str());
        if (Compared(codecs, c)) printf(" %10s", "/baseline");
    }
    printf("\n");
    for (const Row& row : decodes) PrintRow(row, codecs, true);
    for (const Row& row : encodes) PrintRow(row, codecs, true);
    for (const Row& row : sizes) PrintRow(row, codecs, false);
    return 0;
}
