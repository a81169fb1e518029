// Encoding on two threads: the calling thread codes as LzariEncodeWith does
// but keeps only the match finder's trees of its share of first bytes; a
// tree thread keeps the others. Trees of different first bytes never
// touch, so the tree thread replays every step of the encoder but carries
// out only the tree operations of its own bytes, and the coder takes the
// matches at their positions from it. The output is LzariEncodeWith's,
// byte for byte.
#include "codec/threaded_encoder.h"

#include <stdlib.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "codec/lzari_internal.h"

namespace {

enum {
    Blocks = 16,  // blocks of matches kept
};

struct Shared {
    const uint8_t* input;
    uint32_t size;
    uint32_t block;  // the tree thread reports and waits by blocks of positions
    std::mutex lock;
    std::condition_variable changed;
    uint32_t done = 0;    // positions whose match the tree thread has settled
    uint32_t needed = 0;  // the coder asks for no position below this any more
};

struct TreeThread {
    Shared* shared;
    bool owns[256];  // trees of these first bytes
    LzariState trees;
    // By position, for the positions of its own trees.
    std::unique_ptr<uint32_t[]> matches;
    uint32_t mask;  // Blocks blocks of positions
};

void Report(TreeThread* t, uint32_t done) {
    std::lock_guard<std::mutex> hold(t->shared->lock);
    t->shared->done = done;
    t->shared->changed.notify_all();
}

// Before settling the block from `position` on, waits until the coder has
// left the matches it overwrites behind.
void WaitForRoom(TreeThread* t, uint32_t position) {
    std::unique_lock<std::mutex> hold(t->shared->lock);
    const uint64_t block = t->shared->block;  // wide: sizes reach 4 GiB
    t->shared->changed.wait(hold, [&] { return position + block <= t->shared->needed + Blocks * block; });
}

void Insert(TreeThread* t, int ringPos, uint32_t position) {
    LzariState* s = &t->trees;
    if (!t->owns[s->ring[ringPos]]) return;
    InsertNode(s, ringPos);
    uint32_t match =
        s->matchLength == 0 ? 0 : (uint32_t)s->matchLength << MatchDistanceBits | (uint32_t)s->matchPosition;
    t->matches[position & t->mask] = match;
}

// The sequential encoder's steps over the whole input, as CodeText takes
// them: every position goes into its tree as the look-ahead reaches it,
// and leaves as the ring overwrites it. The match is InsertNode's always.
void Replay(TreeThread* t) {
    LzariState* s = &t->trees;
    const uint32_t size = t->shared->size;
    const uint32_t blockEnd = t->shared->block - 1;
    s->input = t->shared->input;
    s->inputSize = size;
    s->inputPos = 0;
    InitTree(s);
    ResetRing(s);
    const uint32_t lookAhead = (uint32_t)FillLookAhead(s);
    // In CodeText's order, nearest first: the trees' shape, and so which
    // of equally long matches wins, depends on it.
    for (int i = 1; i <= MaxMatch; i++) {
        if (t->owns[s->ring[RingFill - i]]) InsertNodeOnly(s, RingFill - i);
    }
    Insert(t, RingFill, 0);
    for (uint32_t position = 1; position < size; position++) {
        if ((position & blockEnd) == 0) {
            Report(t, position);
            WaitForRoom(t, position);
        }
        int oldest = s->oldest;
        if (t->owns[s->ring[oldest]]) DeleteNode(s, oldest);
        if (position <= size - lookAhead) {
            uint8_t b = s->input[s->inputPos++];
            s->ring[oldest] = b;
            if (oldest < MaxMatch - 1) s->ring[oldest + RingSize] = b;
        }
        s->oldest = (int16_t)((oldest + 1) & (RingSize - 1));
        s->ringPos = (int16_t)((s->ringPos + 1) & (RingSize - 1));
        Insert(t, s->ringPos, position);
    }
    Report(t, size);
}

// How often each byte occurs: in the whole of a smaller input, in evenly
// spaced samples of a larger one, which is then not all read (and held in
// memory, when mapped) before the coding starts. Returns the bytes counted.
enum { CountedWhole = 1 << 24, SampleCount = 64, SampleLength = 1 << 14 };

uint32_t CountBytes(const uint8_t* data, uint32_t size, uint32_t count[256]) {
    if (size <= CountedWhole) {
        for (uint32_t i = 0; i < size; i++) count[data[i]]++;
        return size;
    }
    for (uint32_t sample = 0; sample < SampleCount; sample++) {
        const uint8_t* from = data + (uint64_t)(size - SampleLength) * sample / (SampleCount - 1);
        for (uint32_t i = 0; i < SampleLength; i++) count[from[i]]++;
    }
    return SampleCount * SampleLength;
}

// Splits the first bytes between the coder and the tree thread by the work
// their trees will take: a position costs about the depth of its tree. The
// coder also codes: its trees count half as much again (measured on C
// headers and a binary; 1.25 and 2 did no better).
constexpr double CoderWeight = 1.5;

void ShareTrees(const uint8_t* data, uint32_t size, TreeShare* share) {
    uint32_t count[256] = {0};
    const uint32_t counted = CountBytes(data, size, count);
    double work[2] = {0, 0};
    bool taken[256] = {false};
    for (int n = 0; n < 256; n++) {
        int heaviest = 0;
        for (int c = 1; c < 256; c++) {
            if (!taken[c] && (taken[heaviest] || count[c] > count[heaviest])) heaviest = c;
        }
        taken[heaviest] = true;
        double depth = 1;
        for (uint32_t k = count[heaviest] * (uint64_t)RingSize / (counted ? counted : 1); k > 1; k /= 2) depth++;
        int to = work[0] * CoderWeight <= work[1] ? 0 : 1;
        work[to] += depth * count[heaviest];
        share->firstKeeps[heaviest] = to == 0;
    }
}

// The coder has come to `position`: matches below it are no longer needed.
void SetNeeded(Shared* shared, uint32_t position) {
    shared->needed = position;
    shared->changed.notify_all();
}

void WaitForMatch(MatchSource* source, uint32_t position) {
    Shared* shared = (Shared*)source->context;
    std::unique_lock<std::mutex> hold(shared->lock);
    SetNeeded(shared, position);
    shared->changed.wait(hold, [&] { return shared->done > position; });
    source->ready = shared->done;
    // Room for the tree thread is made a block at a time: let it know a
    // little before it would have to wait.
    if (source->ready - position > shared->block) source->ready = position + shared->block;
}

// The coder reports its progress a block at a time, also where it finds
// all the matches it needs in its own trees.
void Publish(MatchSource* source, uint32_t position) {
    Shared* shared = (Shared*)source->context;
    std::lock_guard<std::mutex> hold(shared->lock);
    SetNeeded(shared, position);
}

void StartTreeThread(TreeThread* t, Shared* shared, const TreeShare* share) {
    t->shared = shared;
    for (int c = 0; c < 256; c++) t->owns[c] = !share->firstKeeps[c];
    t->mask = Blocks * shared->block - 1;
    t->matches.reset(new uint32_t[t->mask + 1]);
}

}  // namespace

uint8_t* LzariEncodeThreaded(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length) {
    TreeShare share;
    ShareTrees(data, size, &share);
    share.blockShift = DefaultBlockShift;
    return LzariEncodeShared(state, data, size, &share, length);
}

uint8_t* LzariEncodeShared(LzariState* state, const uint8_t* data, uint32_t size, const TreeShare* share,
                           uint32_t* length) {
    if (size == 0) return LzariEncodeWith(state, data, size, length);
    std::unique_ptr<Shared> shared(new Shared());
    std::unique_ptr<TreeThread> other(new TreeThread());
    shared->input = data;
    shared->size = size;
    shared->block = 1u << share->blockShift;
    StartTreeThread(other.get(), shared.get(), share);

    std::thread tree(Replay, other.get());
    MatchSource source;
    source.keeps = share->firstKeeps;
    source.matches = other->matches.get();
    source.mask = other->mask;
    source.ready = 0;
    source.wait = WaitForMatch;
    source.publish = Publish;
    source.publishEvery = shared->block;
    source.context = shared.get();
    uint8_t* result = LzariEncodeSharing(state, data, size, &source, length);
    Publish(&source, size);  // frees the tree thread if it waits for room
    tree.join();
    return result;
}
