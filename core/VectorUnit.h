#pragma once
// Some libraries we run beside (parts of the windowing stack) leave the upper halves of the AVX
// registers dirty. Many Intel processors then charge every following SSE instruction a transition
// penalty: we measured the model 20 times slower once the windows had started. The numeric cores
// clear that state on entry; it costs one instruction.
namespace pendulab {

inline void cleanVectorUnit()
{
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

} // namespace pendulab
