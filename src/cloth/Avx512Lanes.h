#pragma once

// Eight doubles per register. Include only in a translation unit compiled for AVX-512F (see
// FastStepRows.h); every operation is correctly rounded like its scalar counterpart.
#include <immintrin.h>

namespace {

struct Avx512Lanes {
  using D = __m512d;
  using M = __mmask8;
  static constexpr int kWidth = 8;

  static D load(const double* p) { return _mm512_loadu_pd(p); }
  static void store(double* p, D v) { _mm512_storeu_pd(p, v); }
  static D broadcast(double v) { return _mm512_set1_pd(v); }
  // The zero-masked form with every lane set: the plain one trips a false uninitialized warning.
  static D sqrt(D v) { return _mm512_maskz_sqrt_pd(static_cast<M>(0xFF), v); }
  static D abs(D v) { return _mm512_abs_pd(v); }
  // Lane by lane: a where m is set, b elsewhere.
  static D select(M m, D a, D b) { return _mm512_mask_blend_pd(m, b, a); }
  static D addWhere(M m, D a, D b) { return _mm512_mask_add_pd(a, m, a, b); }
  static D subtractWhere(M m, D a, D b) { return _mm512_mask_sub_pd(a, m, a, b); }
  static M isZero(D v) { return _mm512_cmp_pd_mask(v, _mm512_setzero_pd(), _CMP_EQ_OQ); }
  static M lessEqual(D a, D b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
  static unsigned bits(M m) { return m; }
  static M mask(unsigned laneBits) { return static_cast<M>(laneBits); }
};

}  // namespace
