#pragma once
// Whether the AVX2 kernels of resampling and blending run. The program runs on any
// x86-64 PC, so the processor is asked once at run time; tests turn the kernels off to
// hold the narrower ones to their references as well. All give the same pixels.
namespace ov {

bool UseAvx2Kernels();
void AllowAvx2Kernels(bool allowed);

}  // namespace ov
