// MD5's compression with AVX-512VL, and whether this processor runs it and
// gains by it.
#pragma once

#include <cstddef>
#include <cstdint>

// As TransformBlocks; only where Avx512Runs.
void Md5BlocksAvx512(uint32_t state[4], const uint8_t* block, size_t count);

// The processor has AVX-512F and AVX-512VL and the system saves their
// registers on a thread switch.
bool Avx512Runs();

// Avx512Runs, and Md5BlocksAvx512 is the faster compression on this processor.
bool Avx512Pays();
