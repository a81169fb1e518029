// The encoder's match finder: one binary search tree per first byte over the
// ring positions, ordered by the 59 bytes that follow. Inserting a position
// finds its longest match on the way down; of equally long ones, the nearest
// met on that path.
#include <string.h>

#include "codec/lzari_internal.h"

enum {
    TreeRoots = RingSize + 1,  // children[TreeRoots + b][1] roots the tree of first byte b
    RingMask = RingSize - 1,
};

void InitTree(LzariState* state) {
    for (int i = TreeRoots; i < TreeRoots + 256; i++) state->children[i][1] = NilNode;
    for (int i = 0; i < RingSize; i++) state->parent[i] = NilNode;
}

typedef size_t Word;  // compared a machine word at a time

static inline Word LoadWord(const uint8_t* p) {
    Word w;
    memcpy(&w, p, sizeof w);
    return w;
}

#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
// The index of the first byte in which two words loaded from memory differ.
static inline int FirstDifferingByte(Word diff) {  // diff != 0
    return (sizeof(Word) == 8 ? __builtin_ctzll(diff) : __builtin_ctz((unsigned)diff)) / 8;
}

// Whether the bytes of a, read as a string, come after those of b.
static inline bool Follows(Word a, Word b) {
    return sizeof(Word) == 8 ? __builtin_bswap64(a) > __builtin_bswap64(b)
                             : __builtin_bswap32((uint32_t)a) > __builtin_bswap32((uint32_t)b);
}
#else
static inline int FirstDifferingByte(Word diff) {
    uint8_t bytes[sizeof(Word)];
    memcpy(bytes, &diff, sizeof diff);
    int i = 0;
    while (bytes[i] == 0) i++;
    return i;
}

static inline bool Follows(Word a, Word b) {
    return memcmp(&a, &b, sizeof a) > 0;
}
#endif

// How many of the MaxMatch bytes at key and candidate agree, the first
// `from` of them being equal, and whether the key is not below the
// candidate. The last word read overlaps the one before it, so nothing past
// the MaxMatch bytes is read.
static inline int CommonLength(const uint8_t* key, const uint8_t* candidate, int from, bool* notBelow) {
    const int lastWord = MaxMatch - (int)sizeof(Word);
    for (int i = from;; i += (int)sizeof(Word)) {
        if (i > lastWord) i = lastWord;
        Word a = LoadWord(key + i), b = LoadWord(candidate + i);
        if (a != b) {
            *notBelow = Follows(a, b);
            return i + FirstDifferingByte(a ^ b);
        }
        if (i == lastWord) break;
    }
    *notBelow = true;
    return MaxMatch;
}

// a when `first`, else b, without a branch: which way a walk goes down the
// tree is as good as random, and a mispredicted branch costs more than the
// level's own work. On x86 it is a conditional move, one step on the walk's
// chain where masks take three; compilers branch or mask instead.
template <typename T>
static inline T Pick(bool first, T a, T b) {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    asm("test %1, %1\n\tcmovne %2, %0" : "+r"(b) : "q"(first), "r"(a) : "cc");
    return b;
#else
    const T mask = (T)0 - (T)first;
    return (a & mask) | (b & ~mask);
#endif
}

// r takes the place of p, whose string it repeats in full; p leaves the tree.
static void ReplaceNode(LzariState* state, int p, int r) {
    int16_t(*kids)[2] = state->children;
    int16_t* parent = state->parent;
    parent[r] = parent[p];
    kids[r][0] = kids[p][0];
    kids[r][1] = kids[p][1];
    parent[kids[p][0]] = (int16_t)r;
    parent[kids[p][1]] = (int16_t)r;
    if (kids[parent[p]][1] == p) {
        kids[parent[p]][1] = (int16_t)r;
    } else {
        kids[parent[p]][0] = (int16_t)r;
    }
    parent[p] = NilNode;
}

// Both children of a node, smaller in the low half.
static inline uint32_t LoadKids(const uint16_t (*kids)[2], int node) {
    uint32_t both;
    memcpy(&both, kids[node], sizeof both);
    return both;
}

// Inserts position r into the tree of its first byte. A search (InsertNode)
// also finds r's longest match on the way down; of equally long ones, the
// nearest met on the path.
template <bool Searching>
static ALWAYS_INLINE void Insert(LzariState* state, int r) {
    uint16_t(*kids)[2] = (uint16_t(*)[2])state->children;
    const uint8_t* key = &state->ring[r];
    const uint8_t* afterFirst = &state->ring[1];  // a node's string past its first byte
    const Word keyWord = LoadWord(key + 1);
    int p = TreeRoots + key[0];
    int next = kids[p][1];
    bool notBelow = true;  // the key goes right of an equal string
    // Length, then nearness, in one number: the better match is the larger.
    uint32_t best = 0;
    kids[r][0] = kids[r][1] = NilNode;
    if (next != NilNode) {
        p = next;
        Word word = LoadWord(afterFirst + p);
        uint32_t both = LoadKids(kids, p);
        for (;;) {
            // The next level's words and children load while this node is
            // compared: whichever way the walk goes, they are at hand, and
            // a level waits for one load instead of two. (A missing child
            // reads the ring's mirror and the nil node's entry, harmlessly.)
            int smaller = (int)(both & 0xFFFF), larger = (int)(both >> 16);
            Word smallerWord = LoadWord(afterFirst + smaller), largerWord = LoadWord(afterFirst + larger);
            uint32_t smallerKids = LoadKids(kids, smaller), largerKids = LoadKids(kids, larger);
            int length = 0;
            if (word != keyWord) {
                notBelow = Follows(keyWord, word);
                if (Searching) length = 1 + FirstDifferingByte(word ^ keyWord);
            } else {  // the first byte and word agree
                length = CommonLength(key, &state->ring[p], 1 + (int)sizeof(Word), &notBelow);
            }
            if (Searching) {
                uint32_t nearness = RingSize - ((r - p) & RingMask);
                uint32_t match = length > MatchThreshold ? (uint32_t)length << MatchDistanceBits | nearness : 0;
                best = match > best ? match : best;
            }
            if (length == MaxMatch) {
                ReplaceNode(state, p, r);
                break;
            }
            next = Pick(notBelow, larger, smaller);
            if (next == NilNode) break;
            p = next;
            word = Pick(notBelow, largerWord, smallerWord);
            both = Pick(notBelow, largerKids, smallerKids);
        }
    }
    if (next == NilNode) {
        kids[p][notBelow] = (uint16_t)r;
        state->parent[r] = (int16_t)p;
    }
    if (Searching) {
        state->matchLength = (int16_t)(best >> MatchDistanceBits);
        if (best != 0) state->matchPosition = (int16_t)(RingSize - (best & RingMask));
    }
}

void InsertNode(LzariState* state, int r) {
    Insert<true>(state, r);
}

void InsertNodeOnly(LzariState* state, int r) {
    Insert<false>(state, r);
}

// The node that takes p's place is the rightmost of p's left subtree.
static int DetachPredecessor(LzariState* state, int p) {
    int16_t(*kids)[2] = state->children;
    int16_t* parent = state->parent;
    int q = kids[p][0];
    if (kids[q][1] != NilNode) {
        while (kids[q][1] != NilNode) q = kids[q][1];
        kids[parent[q]][1] = kids[q][0];
        parent[kids[q][0]] = parent[q];
        kids[q][0] = kids[p][0];
        parent[kids[p][0]] = (int16_t)q;
    }
    kids[q][1] = kids[p][1];
    parent[kids[p][1]] = (int16_t)q;
    return q;
}

void DeleteNode(LzariState* state, int p) {
    int16_t(*kids)[2] = state->children;
    int16_t* parent = state->parent;
    int up = parent[p];
    if (up == NilNode) return;
    int smaller = kids[p][0], larger = kids[p][1];
    // With one child or none, that child (or NilNode) takes p's place.
    int q = smaller != NilNode && larger != NilNode ? DetachPredecessor(state, p) : smaller ^ larger ^ NilNode;
    parent[q] = (int16_t)up;
    kids[up][kids[up][1] == p] = (int16_t)q;
    parent[p] = NilNode;
}
