#include "tools/mkinstaller/packer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

#include "codec/lzari.h"
#include "tools/common/container_bytes.h"
#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"

namespace {

struct Outcome {
    bool ok;
    std::string error;
};

bool ReadWhole(const std::string& path, std::vector<uint8_t>& data) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary | std::ios::ate);
    const std::streamoff size = in.tellg();
    if (!in || size < 0) return false;
    data.resize(static_cast<size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(data.data()), size);
    return in.gcount() == size && in.peek() == std::ifstream::traits_type::eof();
}

Outcome PackOne(LzariState* state, const FileRow& row, std::optional<uint64_t> latestTime, PackedFile& packed) {
    std::vector<uint8_t> data;
    if (!ReadWhole(row.sourcePath, data)) return {false, "cannot read '" + row.sourcePath + "' in full"};
    if (data.size() > 0xFFFFFFFFu) return {false, "'" + row.sourcePath + "' is 4 GiB or larger"};

    const std::optional<uint64_t> fileTime = PayloadTime(row, latestTime);
    if (!fileTime) return {false, "cannot read the time of '" + row.sourcePath + "': " + std::strerror(errno)};

    std::optional<std::vector<uint8_t>> container = EncodeContainer(state, data.data(), data.size(), *fileTime);
    if (!container) return {false, "out of memory while compressing '" + row.sourcePath + "'"};
    packed.container = std::move(*container);
    packed.inputSize = data.size();
    return {true, {}};
}

// Rows largest first, so that one big file does not start last and leave
// the other threads idle while it is packed.
std::vector<size_t> LargestFirst(const std::vector<FileRow>& rows) {
    std::vector<std::pair<uintmax_t, size_t>> sizes;
    for (size_t row = 0; row < rows.size(); ++row) {
        std::error_code error;
        const uintmax_t size = std::filesystem::file_size(rows[row].sourcePath, error);
        sizes.push_back({error ? 0 : size, row});
    }
    std::stable_sort(sizes.begin(), sizes.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<size_t> order;
    for (const auto& entry : sizes) order.push_back(entry.second);
    return order;
}

}  // namespace

PackResult PackFiles(const std::vector<FileRow>& rows, std::optional<uint64_t> latestTime, unsigned threads,
                     const PackProgress& progress) {
    PackResult result{true, {}, std::vector<PackedFile>(rows.size())};
    const std::vector<size_t> order = LargestFirst(rows);
    std::atomic<size_t> nextRow{0};
    std::atomic<bool> failed{false};
    std::mutex reportLock;

    auto work = [&] {
        auto state = std::make_unique<LzariState>();
        for (size_t next = nextRow++; next < order.size() && !failed; next = nextRow++) {
            const size_t row = order[next];
            const Outcome outcome = PackOne(state.get(), rows[row], latestTime, result.files[row]);
            std::lock_guard<std::mutex> lock(reportLock);
            if (!outcome.ok) {
                if (!failed.exchange(true)) result.error = outcome.error;
                return;
            }
            if (progress) progress(row, result.files[row]);
        }
    };

    if (threads == 0) threads = 1;
    if (threads > rows.size()) threads = static_cast<unsigned>(rows.size() > 0 ? rows.size() : 1);
    std::vector<std::thread> workers;
    {
        const platform::InterruptsHeld held;  // workers inherit the blocked signals
        for (unsigned i = 1; i < threads; ++i) workers.emplace_back(work);
    }
    work();
    for (std::thread& worker : workers) worker.join();
    result.ok = !failed;
    return result;
}
