#include "tools/mkinstaller/spelling.h"

#include <algorithm>
#include <vector>

namespace {

// Edits between a and b: insertions, deletions, substitutions and swaps of
// two neighbouring characters.
size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::string ClosestWord(std::string_view word, std::initializer_list<std::string_view> candidates) {
    const size_t MaxEdits = 2;
    std::string_view best;
    size_t bestDistance = MaxEdits + 1;
    for (std::string_view candidate : candidates) {
        const size_t distance = EditDistance(word, candidate);
        // A short word is "close" to anything of its length; demand that most of it survives.
        if (distance < bestDistance && distance < word.size()) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return std::string(best);
}
