// disp_colorAdjust.cpp: the YUV-to-RGB stage of the frame: brightness, contrast and the four hue
// quadrants, then the studio-swing conversion, from Y, Cb, Cr pixels or straight from YUY2 pairs
// (optionally with an RGB565 layer blended on before the pixels are stored). Portable kernels, and
// AVX2 ones (with AVX-512 byte permutes where the processor has them) that give the same bytes.
#include <array>

#include "disp_bgrVectors.h"
#include "disp_bt601.h"
#include "disp_composeUnits.h"

namespace {

// Sign code to quadrant: 0 both >= 0, 1 Cb' < 0 only, 2 Cr' < 0 only (quadrant 3), 3 both < 0.
constexpr int kQuadrantOfSignCode[4] = {0, 1, 3, 2};

int ClampSigned8(int v) { return v < -128 ? -128 : v > 127 ? 127 : v; }

// One pixel, the arithmetic written out: chroma turned by its quadrant's coefficients (divisions
// toward zero), then the conversion.
inline void ConvertPixel(const DISP_ColorAdjust& a, uint32_t y, uint32_t cb, uint32_t cr, uint8_t* bgr) {
  const int c = a.lumaC[y];
  const int cbd = static_cast<int>(cb) - 128, crd = static_cast<int>(cr) - 128;
  const int* h = a.hue[(cbd < 0) | (crd < 0) << 1];
  const int d = ClampSigned8((h[0] * cbd + h[1] * crd) / 64);
  const int e = ClampSigned8((h[2] * cbd + h[3] * crd) / 64);
  const DISP_RGB rgb = DISP_RGBOfCDE(c, d, e);
  bgr[0] = static_cast<uint8_t>(rgb.b);
  bgr[1] = static_cast<uint8_t>(rgb.g);
  bgr[2] = static_cast<uint8_t>(rgb.r);
}

// Pixel j of a YUY2 run that starts at sample `first` of `pair`.
inline void ConvertYUY2Pixel(const DISP_ColorAdjust& a, const uint8_t* pair, int first, int j,
                             uint8_t* bgr) {
  const int s = first + j;
  const uint8_t* p = pair + 4 * (s >> 1);
  ConvertPixel(a, p[(s & 1) * 2], p[1], p[3], bgr);
}

// An RGB565 layer pixel over a written pixel: the key leaves it, otherwise alpha of 15.
inline void BlendRGB565Pixel(uint32_t pixel, int keyed, uint32_t key565, uint32_t alpha,
                             uint8_t* bgr) {
  if (keyed && pixel == key565) return;
  bgr[0] = DISP_Blend15((pixel << 3) & 0xF8, bgr[0], alpha);
  bgr[1] = DISP_Blend15((pixel >> 3) & 0xFC, bgr[1], alpha);
  bgr[2] = DISP_Blend15((pixel >> 8) & 0xF8, bgr[2], alpha);
}

#if defined(DISP_HAS_AVX2_KERNELS)

// Byte permutes over [B0-7 G0-7 | B8-15 G8-15] (index 0-31) and [R0-7 R0-7 | R8-15 R8-15]
// (32-63) giving bytes 0-31 and 32-47 of sixteen pixels' blue, green, red.
struct PermuteMasks {
  alignas(32) uint8_t part[2][32];
};
constexpr PermuteMasks MakePermuteMasks() {
  PermuteMasks m{};
  for (int byte = 0; byte < 64; ++byte) {
    const int pixel = byte / 3 < 16 ? byte / 3 : 0, channel = byte % 3;
    const int within = pixel < 8 ? pixel : pixel + 8;
    const int index = channel == 0 ? within : channel == 1 ? within + 8 : 32 + within;
    m.part[byte / 32][byte % 32] = static_cast<uint8_t>(index);
  }
  return m;
}
constexpr PermuteMasks kPermute = MakePermuteMasks();

// C = clamp(trunc((Y + brightness - 128) x (contrast + 8) / 8) + 112, -16, 239), 16 lanes.
template <bool kPlainLuma>
DISP_AVX2_INLINE __m256i LumaC(__m256i y, const DISP_ColorAdjust& a) {
  if constexpr (kPlainLuma) return _mm256_sub_epi16(y, _mm256_set1_epi16(16));
  const __m256i t = _mm256_mullo_epi16(_mm256_add_epi16(y, _mm256_set1_epi16(a.lumaBias)),
                                       _mm256_set1_epi16(a.lumaGain));
  const __m256i q = _mm256_sign_epi16(_mm256_srli_epi16(_mm256_abs_epi16(t), 3), t);
  return _mm256_min_epi16(_mm256_max_epi16(_mm256_add_epi16(q, _mm256_set1_epi16(112)),
                                           _mm256_set1_epi16(-16)),
                          _mm256_set1_epi16(239));
}

// What every 16 pixels use, made once a call.
struct Constants {
  __m256i factor42, factor153, factorMinus100, factor48, factor5, factor256, factor1024;
  __m256i hue[4];
  __m256i chromaOfPairs;  // pshufb: Cb of four pairs as 16-bit lanes, then their Cr
};
DISP_AVX2_INLINE Constants ConstantsOf(const DISP_ColorAdjust& a) {
  Constants k;
  k.factor42 = _mm256_set1_epi16(a.factor42);
  k.factor153 = _mm256_set1_epi16(a.factor153);
  k.factorMinus100 = _mm256_set1_epi16(a.factorMinus100);
  k.factor48 = _mm256_set1_epi16(a.factor48);
  k.factor5 = _mm256_set1_epi16(a.factor5);
  k.factor256 = _mm256_set1_epi16(a.factor256);
  k.factor1024 = _mm256_set1_epi16(a.factor1024);
  k.chromaOfPairs = _mm256_setr_epi8(1, -1, 5, -1, 9, -1, 13, -1, 3, -1, 7, -1, 11, -1, 15, -1, 1,
                                     -1, 5, -1, 9, -1, 13, -1, 3, -1, 7, -1, 11, -1, 15, -1);
  // Uniform hue: the coefficient itself in every lane; otherwise a table by sign code.
  for (int i = 0; i < 4; ++i)
    k.hue[i] = a.uniformHue ? _mm256_set1_epi16(a.hueTables[i][0])
                            : _mm256_broadcastsi128_si256(
                                  _mm_load_si128(reinterpret_cast<const __m128i*>(a.hueTables[i])));
  return k;
}

// clamp(trunc(s / 64), -128, 127); the shift is a high multiply, which runs beside the shuffles.
template <bool kInRange>
DISP_AVX2_INLINE __m256i TurnedComponent(__m256i s, const Constants& k) {
  const __m256i q = _mm256_sign_epi16(_mm256_mulhi_epu16(_mm256_abs_epi16(s), k.factor1024), s);
  if constexpr (kInRange) return q;
  return _mm256_min_epi16(_mm256_max_epi16(q, _mm256_set1_epi16(-128)), _mm256_set1_epi16(127));
}

// Turned chroma: D = Cb2 - 128, E = Cr2 - 128.
struct Chroma {
  __m256i d, e;
};

// 16 lanes of Cb and Cr (0-255) turned by their quadrant's coefficients. The sum of the two
// products saturates: only 16384 + 16384 would overflow, and it clamps to 127 all the same.
template <bool kUniformHue>
DISP_AVX2_INLINE Chroma Turned(__m256i cb, __m256i cr, const Constants& k) {
  const __m256i cbd = _mm256_sub_epi16(cb, _mm256_set1_epi16(128));
  const __m256i crd = _mm256_sub_epi16(cr, _mm256_set1_epi16(128));
  __m256i coefficient[4];
  if constexpr (kUniformHue) {
    for (int i = 0; i < 4; ++i) coefficient[i] = k.hue[i];
  } else {
    // Byte index of the lane's coefficient: 2 x sign code, then + 1 for the high byte.
    const __m256i zero = _mm256_setzero_si256();
    const __m256i index = _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(_mm256_cmpgt_epi16(zero, cbd), _mm256_set1_epi16(0x0202)),
                        _mm256_and_si256(_mm256_cmpgt_epi16(zero, crd), _mm256_set1_epi16(0x0404))),
        _mm256_set1_epi16(0x0100));
    for (int i = 0; i < 4; ++i) coefficient[i] = _mm256_shuffle_epi8(k.hue[i], index);
  }
  return {TurnedComponent<kUniformHue>(_mm256_adds_epi16(_mm256_mullo_epi16(coefficient[0], cbd),
                                                         _mm256_mullo_epi16(coefficient[1], crd)),
                                       k),
          TurnedComponent<kUniformHue>(_mm256_adds_epi16(_mm256_mullo_epi16(coefficient[2], cbd),
                                                         _mm256_mullo_epi16(coefficient[3], crd)),
                                       k)};
}

// Pair values doubled for the two pixels of each pair: the low or the high four pairs of a lane.
DISP_AVX2_INLINE Chroma Doubled(const Chroma& t, bool high) {
  if (high) return {_mm256_unpackhi_epi16(t.d, t.d), _mm256_unpackhi_epi16(t.e, t.e)};
  return {_mm256_unpacklo_epi16(t.d, t.d), _mm256_unpacklo_epi16(t.e, t.e)};
}

// The conversion of 16 pixels in 16-bit lanes, split so every intermediate fits:
// (298 C + 409 E) >> 8 = C + E + ((42 C + 153 E) >> 8), and likewise for green and blue. The
// arithmetic shift by 8 is a high multiply by 256.
DISP_AVX2_INLINE DISP_Bgr16 ToBGR(__m256i c, const Chroma& t, const Constants& k) {
  const __m256i c42 = _mm256_mullo_epi16(c, k.factor42);
  const __m256i g2 = _mm256_add_epi16(_mm256_mullo_epi16(t.d, k.factorMinus100),
                                      _mm256_mullo_epi16(t.e, k.factor48));
  const auto high = [&k](__m256i v) DISP_AVX2 { return _mm256_mulhi_epi16(v, k.factor256); };
  return {_mm256_add_epi16(_mm256_add_epi16(c, _mm256_add_epi16(t.d, t.d)),
                           high(_mm256_add_epi16(c42, _mm256_mullo_epi16(t.d, k.factor5)))),
          _mm256_add_epi16(_mm256_sub_epi16(c, t.e), high(_mm256_add_epi16(c42, g2))),
          _mm256_add_epi16(_mm256_add_epi16(c, t.e),
                           high(_mm256_add_epi16(c42, _mm256_mullo_epi16(t.e, k.factor153))))};
}

// 32 pixels from 16 YUY2 pairs in two registers (the second may be zeros when only 16 pixels
// are wanted), chroma once a pair.
template <bool kPlainLuma, bool kUniformHue>
DISP_AVX2_INLINE void ConvertYUY2x32(__m256i w0, __m256i w1, const DISP_ColorAdjust& a,
                                    const Constants& k, DISP_Bgr16* first, DISP_Bgr16* second) {
  // Lane l: pairs 4l to 4l + 3 of w0, then those of w1.
  const __m256i s0 = _mm256_shuffle_epi8(w0, k.chromaOfPairs);
  const __m256i s1 = _mm256_shuffle_epi8(w1, k.chromaOfPairs);
  const Chroma pairs =
      Turned<kUniformHue>(_mm256_unpacklo_epi64(s0, s1), _mm256_unpackhi_epi64(s0, s1), k);
  const __m256i y = _mm256_set1_epi16(0xFF);
  *first = ToBGR(LumaC<kPlainLuma>(_mm256_and_si256(w0, y), a), Doubled(pairs, false), k);
  *second = ToBGR(LumaC<kPlainLuma>(_mm256_and_si256(w1, y), a), Doubled(pairs, true), k);
}

DISP_AVX512_INLINE void StoreBGRPermuted(const DISP_Bgr16& p, uint8_t* out) {
  const __m256i bg = _mm256_packus_epi16(p.b, p.g);
  const __m256i rr = _mm256_packus_epi16(p.r, p.r);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out),
                      _mm256_permutex2var_epi8(bg, DISP_Load256(kPermute.part[0]), rr));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 32),
                   _mm256_castsi256_si128(
                       _mm256_permutex2var_epi8(bg, DISP_Load256(kPermute.part[1]), rr)));
}

DISP_AVX2_INLINE __m256i ClampByte16(__m256i v) {
  return _mm256_max_epi16(_mm256_min_epi16(v, _mm256_set1_epi16(255)), _mm256_setzero_si256());
}

// An RGB565 layer over 16 converted pixels, all written. Each 16-bit lane pairs the old byte (low)
// with the layer's (high), so one multiply-add against the weights (15 - alpha, alpha) gives the
// blend's sum; keyed pixels weigh (15, 0) and come back unchanged. n / 15 = (n x 4370) >> 16 for
// every n up to 15 x 255.
struct LayerBlend {
  __m256i key, keyOn, weights;
};
DISP_AVX2_INLINE DISP_Bgr16 BlendRGB565x16(const DISP_Bgr16& old, __m256i pixels,
                                           const LayerBlend& l) {
  const __m256i keep = _mm256_and_si256(_mm256_cmpeq_epi16(pixels, l.key), l.keyOn);
  const __m256i weights = _mm256_blendv_epi8(l.weights, _mm256_set1_epi16(15), keep);
  // The layer's blue, green and red expanded to bytes, in the high byte of each lane.
  const __m256i layerB = _mm256_slli_epi16(pixels, 11);
  const __m256i layerG = _mm256_and_si256(_mm256_slli_epi16(pixels, 5),
                                          _mm256_set1_epi16(static_cast<int16_t>(0xFC00)));
  const __m256i layerR = _mm256_and_si256(pixels, _mm256_set1_epi16(static_cast<int16_t>(0xF800)));
  const auto blend = [&weights](__m256i old16, __m256i layerHigh) DISP_AVX2 {
    const __m256i sum =
        _mm256_maddubs_epi16(_mm256_or_si256(ClampByte16(old16), layerHigh), weights);
    return _mm256_mulhi_epu16(sum, _mm256_set1_epi16(4370));
  };
  return {blend(old.b, layerB), blend(old.g, layerG), blend(old.r, layerR)};
}

// The two YUY2 kernels of one set, written once: the sets differ only in how 16 pixels are
// stored, and the AVX-512 store needs its wider target on the whole loop, which a template cannot
// give, so each set is stamped out from this one text.
#define DISP_YUY2_KERNELS(TARGET, SUFFIX, STORE)                                                   \
  template <bool kPlainLuma, bool kUniformHue>                                                     \
  TARGET void ConvertYUY2ToBGR##SUFFIX(const DISP_ColorAdjust& a, const uint8_t* pairs,            \
                                       uint8_t* bgr, int count) {                                  \
    const Constants k = ConstantsOf(a);                                                            \
    int j = 0;                                                                                     \
    DISP_Bgr16 first, second;                                                                      \
    for (; j + 32 <= count; j += 32) {                                                             \
      ConvertYUY2x32<kPlainLuma, kUniformHue>(DISP_Load256(pairs + 2 * j),                         \
                                              DISP_Load256(pairs + 2 * j + 32), a, k, &first,      \
                                              &second);                                            \
      STORE(first, bgr + 3 * j);                                                                   \
      STORE(second, bgr + 3 * j + 48);                                                             \
    }                                                                                              \
    if (j + 16 <= count) {                                                                         \
      ConvertYUY2x32<kPlainLuma, kUniformHue>(DISP_Load256(pairs + 2 * j),                         \
                                              _mm256_setzero_si256(), a, k, &first, &second);      \
      STORE(first, bgr + 3 * j);                                                                   \
      j += 16;                                                                                     \
    }                                                                                              \
    for (; j < count; ++j) ConvertYUY2Pixel(a, pairs, 0, j, bgr + 3 * j);                          \
  }                                                                                                \
                                                                                                   \
  template <bool kPlainLuma, bool kUniformHue>                                                     \
  TARGET void ConvertYUY2BlendRGB565##SUFFIX(const DISP_ColorAdjust& a, const uint8_t* pairs,      \
                                             const uint8_t* layer, int keyed, uint32_t key565,     \
                                             uint32_t alpha, uint8_t* bgr, int count) {            \
    const Constants k = ConstantsOf(a);                                                            \
    const LayerBlend l = {_mm256_set1_epi16(static_cast<int16_t>(key565)),                         \
                          _mm256_set1_epi16(keyed ? -1 : 0),                                       \
                          _mm256_set1_epi16(static_cast<int16_t>(alpha << 8 | (15 - alpha)))};     \
    int j = 0;                                                                                     \
    DISP_Bgr16 first, second;                                                                      \
    for (; j + 32 <= count; j += 32) {                                                             \
      ConvertYUY2x32<kPlainLuma, kUniformHue>(DISP_Load256(pairs + 2 * j),                         \
                                              DISP_Load256(pairs + 2 * j + 32), a, k, &first,      \
                                              &second);                                            \
      STORE(BlendRGB565x16(first, DISP_Load256(layer + 2 * j), l), bgr + 3 * j);                   \
      STORE(BlendRGB565x16(second, DISP_Load256(layer + 2 * j + 32), l),                           \
            bgr + 3 * j + 48);                                                                     \
    }                                                                                              \
    if (j + 16 <= count) {                                                                         \
      ConvertYUY2x32<kPlainLuma, kUniformHue>(DISP_Load256(pairs + 2 * j),                         \
                                              _mm256_setzero_si256(), a, k, &first, &second);      \
      STORE(BlendRGB565x16(first, DISP_Load256(layer + 2 * j), l), bgr + 3 * j);                   \
      j += 16;                                                                                     \
    }                                                                                              \
    for (; j < count; ++j) {                                                                       \
      ConvertYUY2Pixel(a, pairs, 0, j, bgr + 3 * j);                                               \
      uint16_t pixel;                                                                              \
      std::memcpy(&pixel, layer + 2 * j, 2);                                                       \
      BlendRGB565Pixel(pixel, keyed, key565, alpha, bgr + 3 * j);                                  \
    }                                                                                              \
  }

DISP_YUY2_KERNELS(DISP_AVX2, AVX2, DISP_StoreBGR16)
DISP_YUY2_KERNELS(DISP_AVX512, AVX512, StoreBGRPermuted)
#undef DISP_YUY2_KERNELS

DISP_AVX2 void ConvertYCbCrToBGRAVX2(const DISP_ColorAdjust& a, uint8_t* pixels, int count) {
  const Constants k = ConstantsOf(a);
  int j = 0;
  for (; j + 16 <= count; j += 16) {
    uint8_t* at = pixels + 3 * j;
    // Y, Cb, Cr in the lanes of blue, green, red.
    const DISP_Bgr16 ycc = DISP_LoadBGR16(at);
    DISP_StoreBGR16(ToBGR(LumaC<false>(ycc.b, a), Turned<false>(ycc.g, ycc.r, k), k), at);
  }
  for (; j < count; ++j) {
    uint8_t* at = pixels + 3 * j;
    ConvertPixel(a, at[0], at[1], at[2], at);
  }
}

#endif

}  // namespace

void DISP_PrepareColorAdjust(DISP_Composition& c) {
  DISP_ColorAdjust& a = c.color;
  const DISP_Model& model = *c.model;
  const int brightness = model.yuvBrightness;
  const int gain = model.yuvContrast + 8;
  for (int y = 0; y < 256; ++y) {
    const int y2 = (y + brightness - 128) * gain / 8;
    a.lumaC[y] = static_cast<int16_t>(DISP_ClampByte(y2 + 128) - 16);
  }
  for (int k = 0; k < 4; ++k) {
    const int q = kQuadrantOfSignCode[k];
    const int coefficients[4] = {model.hueCbA[q], model.hueCbB[q], model.hueCrA[q],
                                 model.hueCrB[q]};
    for (int i = 0; i < 4; ++i) a.hue[k][i] = coefficients[i];
    for (int i = 0; i < 4; ++i) a.hueTables[i][k] = static_cast<int16_t>(coefficients[i]);
  }
  // (Y + brightness - 128) x gain stays inside 16 bits for gains up to 15.
  a.vectorLuma = gain <= 15;
  a.plainLuma = brightness == 0 && gain == 8;
  a.uniformHue = true;
  for (int i = 0; i < 4; ++i)
    for (int k = 1; k < 4; ++k) a.uniformHue = a.uniformHue && a.hueTables[i][k] == a.hueTables[i][0];
  // |coefficient x 128 + coefficient x 128| / 64 at most 2 (|A| + |B|).
  const auto absolute = [](int v) { return v < 0 ? -v : v; };
  for (int i = 0; i < 4; i += 2)
    a.uniformHue = a.uniformHue &&
                   2 * (absolute(a.hueTables[i][0]) + absolute(a.hueTables[i + 1][0])) <= 127;
  a.factor42 = 42, a.factor153 = 153, a.factorMinus100 = -100, a.factor48 = 48, a.factor5 = 5;
  a.factor256 = 256, a.factor1024 = 1024;
  a.lumaBias = static_cast<int16_t>(brightness - 128);
  a.lumaGain = static_cast<int16_t>(gain);
  uint8_t clearBGR[3];
  ConvertPixel(a, 16, 128, 128, clearBGR);
  for (size_t i = 0; i < a.clearRow.size(); i += 3) std::memcpy(&a.clearRow[i], clearBGR, 3);
}

void DISP_FillClearBGR(const DISP_Composition& c, uint8_t* bgr, int count) {
  std::memcpy(bgr, c.color.clearRow.data(), static_cast<size_t>(count) * 3);
}

void DISP_ConvertYUY2ToBGR(const DISP_Composition& c, const uint8_t* pair, int firstSample,
                           uint8_t* bgr, int count) {
  const DISP_ColorAdjust& a = c.color;
  if (count <= 0) return;
#if defined(DISP_HAS_AVX2_KERNELS)
  if (c.kernels != DISP_KERNELS_PORTABLE && a.vectorLuma) {
    // A run starting on Y1 takes that pixel alone; the rest starts on a pair.
    if (firstSample) {
      ConvertYUY2Pixel(a, pair, 1, 0, bgr);
      pair += 4, bgr += 3, --count;
    }
    constexpr void (*kKernels[2][2][2])(const DISP_ColorAdjust&, const uint8_t*, uint8_t*, int) = {
        {{ConvertYUY2ToBGRAVX2<false, false>, ConvertYUY2ToBGRAVX2<false, true>},
         {ConvertYUY2ToBGRAVX2<true, false>, ConvertYUY2ToBGRAVX2<true, true>}},
        {{ConvertYUY2ToBGRAVX512<false, false>, ConvertYUY2ToBGRAVX512<false, true>},
         {ConvertYUY2ToBGRAVX512<true, false>, ConvertYUY2ToBGRAVX512<true, true>}}};
    kKernels[c.kernels == DISP_KERNELS_AVX512][a.plainLuma][a.uniformHue](a, pair, bgr, count);
    return;
  }
#endif
  for (int j = 0; j < count; ++j) ConvertYUY2Pixel(a, pair, firstSample, j, bgr + 3 * j);
}

void DISP_ConvertYUY2BlendRGB565(const DISP_Composition& c, const uint8_t* pair, int firstSample,
                                 const uint8_t* layer, int keyed, uint32_t key565, uint32_t alpha,
                                 uint8_t* bgr, int count) {
  const DISP_ColorAdjust& a = c.color;
  if (count <= 0) return;
#if defined(DISP_HAS_AVX2_KERNELS)
  if (c.kernels != DISP_KERNELS_PORTABLE && a.vectorLuma) {
    if (firstSample) {
      ConvertYUY2Pixel(a, pair, 1, 0, bgr);
      uint16_t pixel;
      std::memcpy(&pixel, layer, 2);
      BlendRGB565Pixel(pixel, keyed, key565, alpha, bgr);
      pair += 4, layer += 2, bgr += 3, --count;
    }
    constexpr void (*kKernels[2][2][2])(const DISP_ColorAdjust&, const uint8_t*, const uint8_t*,
                                        int, uint32_t, uint32_t, uint8_t*, int) = {
        {{ConvertYUY2BlendRGB565AVX2<false, false>, ConvertYUY2BlendRGB565AVX2<false, true>},
         {ConvertYUY2BlendRGB565AVX2<true, false>, ConvertYUY2BlendRGB565AVX2<true, true>}},
        {{ConvertYUY2BlendRGB565AVX512<false, false>, ConvertYUY2BlendRGB565AVX512<false, true>},
         {ConvertYUY2BlendRGB565AVX512<true, false>, ConvertYUY2BlendRGB565AVX512<true, true>}}};
    kKernels[c.kernels == DISP_KERNELS_AVX512][a.plainLuma][a.uniformHue](
        a, pair, layer, keyed, key565, alpha, bgr, count);
    return;
  }
#endif
  for (int j = 0; j < count; ++j) {
    ConvertYUY2Pixel(a, pair, firstSample, j, bgr + 3 * j);
    uint16_t pixel;
    std::memcpy(&pixel, layer + 2 * j, 2);
    BlendRGB565Pixel(pixel, keyed, key565, alpha, bgr + 3 * j);
  }
}

void DISP_ConvertYCbCrToBGR(const DISP_Composition& c, uint8_t* pixels, int count) {
  const DISP_ColorAdjust& a = c.color;
#if defined(DISP_HAS_AVX2_KERNELS)
  if (c.kernels != DISP_KERNELS_PORTABLE && a.vectorLuma) {
    ConvertYCbCrToBGRAVX2(a, pixels, count);
    return;
  }
#endif
  for (int j = 0; j < count; ++j, pixels += 3) ConvertPixel(a, pixels[0], pixels[1], pixels[2], pixels);
}
