// disp_bgrVectors.h: what the compositor's AVX2 kernels share: their target attributes, and 16
// pixels of three bytes (blue, green, red, or Y, Cb, Cr) taken apart into 16-bit lanes and stored
// back. Internal to the display component.
#pragma once

#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define DISP_HAS_AVX2_KERNELS 1
#define DISP_AVX2 __attribute__((target("avx2")))
// Helpers are forced inline so their vectors stay in registers.
#define DISP_AVX2_INLINE inline __attribute__((target("avx2"), always_inline))
// AVX2 with the AVX-512 byte permutes, which interleave blue, green, red in two instructions.
#define DISP_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vbmi")))
#define DISP_AVX512_INLINE \
  inline __attribute__((target("avx2,avx512f,avx512bw,avx512vl,avx512vbmi"), always_inline))

// pshufb masks that interleave eight pixels a 128-bit lane, from [B0-7 G0-7] and [R0-7 R0-7],
// into bytes 0-15 and 16-23 of B G R B G R ...
struct DISP_InterleaveMasks {
  alignas(32) uint8_t fromBG[2][32], fromR[2][32];
};
constexpr DISP_InterleaveMasks DISP_MakeInterleaveMasks() {
  DISP_InterleaveMasks m{};
  for (int part = 0; part < 2; ++part) {
    for (int lane = 0; lane < 2; ++lane) {
      for (int j = 0; j < 16; ++j) {
        const int byte = part * 16 + j, pixel = byte / 3, channel = byte % 3;
        const bool inside = byte < 24;
        m.fromBG[part][lane * 16 + j] = static_cast<uint8_t>(
            inside && channel == 0 ? pixel : inside && channel == 1 ? 8 + pixel : 0x80);
        m.fromR[part][lane * 16 + j] = static_cast<uint8_t>(inside && channel == 2 ? pixel : 0x80);
      }
    }
  }
  return m;
}
inline constexpr DISP_InterleaveMasks kDISP_Interleave = DISP_MakeInterleaveMasks();

// pshufb masks that pick channel c of 16 pixels out of 48 bytes, from each 16-byte third.
struct DISP_DeinterleaveMasks {
  alignas(16) uint8_t of[3][3][16];  // [channel][third][byte]
};
constexpr DISP_DeinterleaveMasks DISP_MakeDeinterleaveMasks() {
  DISP_DeinterleaveMasks m{};
  for (int c = 0; c < 3; ++c)
    for (int third = 0; third < 3; ++third)
      for (int p = 0; p < 16; ++p) {
        const int at = 3 * p + c - 16 * third;
        m.of[c][third][p] = static_cast<uint8_t>(at >= 0 && at < 16 ? at : 0x80);
      }
  return m;
}
inline constexpr DISP_DeinterleaveMasks kDISP_Deinterleave = DISP_MakeDeinterleaveMasks();

DISP_AVX2_INLINE __m256i DISP_Load256(const void* at) {
  return _mm256_loadu_si256(static_cast<const __m256i*>(at));
}

// 16 pixels in 16-bit lanes, pixels 0-7 in the low 128 bits.
struct DISP_Bgr16 {
  __m256i b, g, r;
};

// 16 pixels clamped to bytes and stored as their 48 bytes.
DISP_AVX2_INLINE void DISP_StoreBGR16(const DISP_Bgr16& p, uint8_t* out) {
  const __m256i bg = _mm256_packus_epi16(p.b, p.g);
  const __m256i rr = _mm256_packus_epi16(p.r, p.r);
  const auto part = [&bg, &rr](int k) DISP_AVX2 {
    return _mm256_or_si256(_mm256_shuffle_epi8(bg, DISP_Load256(kDISP_Interleave.fromBG[k])),
                           _mm256_shuffle_epi8(rr, DISP_Load256(kDISP_Interleave.fromR[k])));
  };
  const __m256i first = part(0), second = part(1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(first));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_castsi256_si128(second));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 24), _mm256_extracti128_si256(first, 1));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 40), _mm256_extracti128_si256(second, 1));
}

// Channel c of 16 pixels from the three 16-byte thirds of their 48 bytes.
DISP_AVX2_INLINE __m128i DISP_Channel(const __m128i thirds[3], int c) {
  __m128i v = _mm_setzero_si128();
  for (int t = 0; t < 3; ++t)
    v = _mm_or_si128(v, _mm_shuffle_epi8(thirds[t], _mm_load_si128(reinterpret_cast<const __m128i*>(
                                                        kDISP_Deinterleave.of[c][t]))));
  return v;
}

// 16 pixels from their 48 bytes.
DISP_AVX2_INLINE DISP_Bgr16 DISP_LoadBGR16(const uint8_t* at) {
  const __m128i thirds[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 32))};
  const auto channel = [&thirds](int c) DISP_AVX2 {
    return _mm256_cvtepu8_epi16(DISP_Channel(thirds, c));
  };
  return {channel(0), channel(1), channel(2)};
}

#endif
