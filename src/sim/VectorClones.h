#pragma once

// GCC builds the functions marked so for AVX-512, AVX2 and plain x86-64 and picks one when the
// program loads; clang cannot clone templates, so its builds (the fuzzers) take the plain one.
#if defined(__clang__)
#define LOOMWISE_VECTOR_CLONES
#define LOOMWISE_AVX2_CLONES
#else
#define LOOMWISE_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#define LOOMWISE_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#endif
// Before a loop whose iterations never touch one another's data, where the compiler cannot tell
// (a restrict lost when the function was inlined): it vectorises the loop without checking.
#if defined(__clang__)
#define LOOMWISE_INDEPENDENT_ITERATIONS _Pragma("clang loop vectorize(assume_safety)")
#else
#define LOOMWISE_INDEPENDENT_ITERATIONS _Pragma("GCC ivdep")
#endif
