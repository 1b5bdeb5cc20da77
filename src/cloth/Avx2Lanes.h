#pragma once

// Four doubles per register. Include only in a translation unit compiled for AVX2 (see
// FastStepRows.h); every operation is correctly rounded like its scalar counterpart.
#include <immintrin.h>

namespace {

struct Avx2Lanes {
  using D = __m256d;
  using M = __m256d;  // all ones or all zeros per lane
  static constexpr int kWidth = 4;

  static D load(const double* p) { return _mm256_loadu_pd(p); }
  static void store(double* p, D v) { _mm256_storeu_pd(p, v); }
  static D broadcast(double v) { return _mm256_set1_pd(v); }
  static D sqrt(D v) { return _mm256_sqrt_pd(v); }
  static D abs(D v) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), v); }
  // Lane by lane: a where m is set, b elsewhere.
  static D select(M m, D a, D b) { return _mm256_blendv_pd(b, a, m); }
  static D addWhere(M m, D a, D b) { return select(m, a + b, a); }
  static D subtractWhere(M m, D a, D b) { return select(m, a - b, a); }
  static M isZero(D v) { return _mm256_cmp_pd(v, _mm256_setzero_pd(), _CMP_EQ_OQ); }
  static M lessEqual(D a, D b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
  static unsigned bits(M m) { return static_cast<unsigned>(_mm256_movemask_pd(m)); }
  static M mask(unsigned laneBits) {
    const __m256i lane = _mm256_setr_epi64x(1, 2, 4, 8);
    const __m256i set = _mm256_and_si256(_mm256_set1_epi64x(laneBits), lane);
    return _mm256_castsi256_pd(_mm256_cmpeq_epi64(set, lane));
  }
};

}  // namespace
