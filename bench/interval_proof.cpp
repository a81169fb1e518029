// Proves Rescale (codec/interval.h) equal to the bit-at-a-time loops it
// replaced, by trying every interval 0 <= low < high <= Top (about 8.6e9):
// - the decoder's loop ends in the same interval after as many doublings;
// - the encoder's loop ends there too, and outputs its bits first (the
//   leading bits of low) and only then counts straddling doublings.
// Minutes of CPU on two threads; run by hand, not by the tests.
#include <stdio.h>
#include <stdlib.h>

#include <atomic>
#include <thread>
#include <vector>

#include "codec/interval.h"

namespace {

struct Doubled {
    uint32_t low, high;
    unsigned shifts;
};

Doubled DecoderLoop(uint32_t low, uint32_t high) {
    unsigned shifts = 0;
    for (;;) {
        if (low >= Half) {
            low -= Half;
            high -= Half;
        } else if (low >= Quarter && high <= ThreeQuarters) {
            low -= Quarter;
            high -= Quarter;
        } else if (high > Half) {
            break;
        }
        low *= 2;
        high *= 2;
        shifts++;
    }
    return {low, high, shifts};
}

bool EncoderLoopAgrees(uint32_t low, uint32_t high, const Rescaled& r) {
    const uint32_t startLow = low;
    unsigned settled = 0, straddling = 0;
    uint32_t bits = 0;
    for (;;) {
        int bit;
        if (high <= Half) {
            bit = 0;
        } else if (low >= Half) {
            bit = 1;
            low -= Half;
            high -= Half;
        } else if (low >= Quarter && high <= ThreeQuarters) {
            bit = -1;
            low -= Quarter;
            high -= Quarter;
        } else {
            break;
        }
        if (bit < 0) {
            straddling++;
        } else if (straddling > 0) {
            return false;  // a bit output after a straddling doubling
        } else {
            bits = 2 * bits + (uint32_t)bit;
            settled++;
        }
        low *= 2;
        high *= 2;
    }
    return low == r.low && high == r.high && settled == r.settled && settled + straddling == r.shifts &&
           bits == (startLow >> (17 - settled));
}

struct Tally {
    uint64_t checked = 0, wrong = 0;
    unsigned maxShifts = 0;
};

void CheckLows(uint32_t first, uint32_t step, Tally* tally) {
    for (uint32_t low = first; low < Top; low += step) {
        for (uint32_t high = low + 1; high <= Top; high++) {
            Rescaled r = Rescale(low, high);
            Doubled d = DecoderLoop(low, high);
            bool same = d.low == r.low && d.high == r.high && d.shifts == r.shifts && EncoderLoopAgrees(low, high, r);
            if (!same && tally->wrong++ < 5) {
                printf("differs at low 0x%05X high 0x%05X\n", (unsigned)low, (unsigned)high);
            }
            if (r.shifts > tally->maxShifts) tally->maxShifts = r.shifts;
            tally->checked++;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    unsigned threads = argc > 1 ? (unsigned)atoi(argv[1]) : 2;
    if (threads == 0) threads = 1;
    std::vector<Tally> tallies(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; t++) workers.emplace_back(CheckLows, t, threads, &tallies[t]);
    for (auto& w : workers) w.join();

    Tally total;
    for (const Tally& t : tallies) {
        total.checked += t.checked;
        total.wrong += t.wrong;
        if (t.maxShifts > total.maxShifts) total.maxShifts = t.maxShifts;
    }
    printf("%llu intervals checked, %llu differ, at most %u doublings in one step\n", (unsigned long long)total.checked,
           (unsigned long long)total.wrong, total.maxShifts);
    return total.wrong == 0 && total.checked == (uint64_t)Top * (Top + 1) / 2 ? 0 : 1;
}
