#pragma once
// What the processor offers beyond the build's baseline, asked once. The
// pixel loops use it to pick a wider path; every path draws the same pixels.

#if defined(__GNUC__) && defined(__x86_64__)
#define VORNED_HAVE_AVX2_PATH 1
inline bool CpuHasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif
