#include "find/text_match.h"

#include <algorithm>
#include <cstring>

#include "find/fold.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Every byte whose fold equals that of c (c itself included), at most 4.
int foldClass(unsigned char c, int mode, unsigned char* out)
{
    const unsigned char target = foldChar(c, mode);
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        if (foldChar(static_cast<unsigned char>(b), mode) != target)
            continue;
        if (count == 4)
            return 5;
        out[count++] = static_cast<unsigned char>(b);
    }
    return count;
}

bool plainPath(const TextPattern& p)
{
    return p.firstCount > 2 || p.lastCount > 2;
}

#if defined(__SSE2__)
// Bit i set when position at + i may hold the text: its first byte and its
// last byte both fit.  Reads data[at, at + 16 + length - 1).
inline unsigned candidates(const TextPattern& p, const unsigned char* data, int32_t at)
{
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + p.length - 1));
    const __m128i f = _mm_or_si128(_mm_cmpeq_epi8(head, _mm_set1_epi8(static_cast<char>(p.first[0]))),
                                   _mm_cmpeq_epi8(head, _mm_set1_epi8(static_cast<char>(p.first[1]))));
    const __m128i l = _mm_or_si128(_mm_cmpeq_epi8(tail, _mm_set1_epi8(static_cast<char>(p.last[0]))),
                                   _mm_cmpeq_epi8(tail, _mm_set1_epi8(static_cast<char>(p.last[1]))));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(f, l)));
}
#endif

}  // namespace

TextPattern makePattern(const char* text, int mode)
{
    TextPattern p;
    p.mode = mode;
    const int32_t n = static_cast<int32_t>(strnlen(text, sizeof p.folded - 1));
    p.length = n;
    p.impossible = n == 0;
    for (int32_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        p.impossible = p.impossible || c < 32;
        p.folded[i] = foldChar(c, mode);
    }
    if (p.impossible)
        return p;
    p.firstCount = foldClass(static_cast<unsigned char>(text[0]), mode, p.first);
    p.lastCount = foldClass(static_cast<unsigned char>(text[n - 1]), mode, p.last);
    // A class of one byte is tested twice rather than given a path of its own.
    if (p.firstCount == 1)
        p.first[1] = p.first[0];
    if (p.lastCount == 1)
        p.last[1] = p.last[0];
    return p;
}

bool matchesAt(const TextPattern& p, const unsigned char* data, int32_t used, int32_t at)
{
    if (p.impossible || at < 0 || at + p.length > used)
        return false;
    for (int32_t i = 0; i < p.length; ++i)
        if (foldChar(data[at + i], p.mode) != p.folded[i])
            return false;
    return true;
}

int32_t findFirst(const TextPattern& p, const unsigned char* data, int32_t used, int32_t from, int32_t to)
{
    if (p.impossible)
        return -1;
    from = std::max(from, 0);
    to = std::min(to, used - p.length + 1);   // the text must end inside the data
    int32_t at = from;
#if defined(__SSE2__)
    if (!plainPath(p)) {
        // Blocks whose reads stay inside the data; the rest goes one by one.
        for (; at + 16 <= to; at += 16) {
            for (unsigned bits = candidates(p, data, at); bits; bits &= bits - 1) {
                const int32_t q = at + __builtin_ctz(bits);
                if (matchesAt(p, data, used, q))
                    return q;
            }
        }
    }
#endif
    for (; at < to; ++at)
        if (matchesAt(p, data, used, at))
            return at;
    return -1;
}

int32_t findLast(const TextPattern& p, const unsigned char* data, int32_t used, int32_t from, int32_t to)
{
    if (p.impossible)
        return -1;
    from = std::max(from, 0);
    to = std::min(to, used - p.length + 1);
    int32_t end = to;   // positions [from, end) are still to be tested
#if defined(__SSE2__)
    if (!plainPath(p)) {
        for (; end - 16 >= from; end -= 16) {
            for (unsigned bits = candidates(p, data, end - 16); bits; bits &= ~(1u << (31 - __builtin_clz(bits)))) {
                const int32_t q = end - 16 + (31 - __builtin_clz(bits));
                if (matchesAt(p, data, used, q))
                    return q;
            }
        }
    }
#endif
    for (int32_t at = end - 1; at >= from; --at)
        if (matchesAt(p, data, used, at))
            return at;
    return -1;
}
