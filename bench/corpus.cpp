#include "bench/corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

const size_t HeaderBytes = 4u << 20;
const size_t BinaryBytes = 8u << 20;
const size_t FillBytes = 4u << 20;

void AppendFile(const fs::path& path, size_t limit, std::vector<uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chunk(1 << 16);
    while (out.size() < limit) {
        in.read(chunk.data(), (std::streamsize)std::min(chunk.size(), limit - out.size()));
        size_t got = (size_t)in.gcount();
        if (got == 0) break;
        out.insert(out.end(), chunk.begin(), chunk.begin() + (std::ptrdiff_t)got);
    }
}

// C headers in a stable order until 4 MB.
std::vector<uint8_t> Headers() {
    std::vector<fs::path> paths;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator("/usr/include", ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (ec) break;
        if (it->is_regular_file(ec) && it->path().extension() == ".h") paths.push_back(it->path());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<uint8_t> out;
    for (const auto& p : paths) {
        if (out.size() >= HeaderBytes) break;
        AppendFile(p, HeaderBytes, out);
    }
    return out;
}

// The first 8 MB of the largest program in /usr/bin.
CorpusInput LargestBinary() {
    fs::path largest;
    uintmax_t largestSize = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator("/usr/bin", ec)) {
        if (!entry.is_regular_file(ec) || entry.is_symlink(ec)) continue;
        uintmax_t size = entry.file_size(ec);
        if (!ec && size > largestSize) largestSize = size, largest = entry.path();
    }
    CorpusInput input{"binary(" + largest.filename().string() + ")", {}};
    AppendFile(largest, BinaryBytes, input.bytes);
    return input;
}

std::vector<uint8_t> RandomBytes() {
    std::mt19937 generator(20240501);
    std::vector<uint8_t> out(FillBytes);
    for (auto& b : out) b = (uint8_t)generator();
    return out;
}

}  // namespace

std::vector<CorpusInput> BuildCorpus() {
    std::vector<CorpusInput> corpus;
    corpus.push_back({"headers", Headers()});
    corpus.push_back(LargestBinary());
    corpus.push_back({"random", RandomBytes()});
    corpus.push_back({"one-byte", std::vector<uint8_t>(FillBytes, 'A')});
    return corpus;
}
