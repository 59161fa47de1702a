#pragma once
// Deterministic noise for the texture painters. Coordinates are in lattice cells; a period of P cells
// makes the pattern repeat every P cells, so textures built from it tile without seams.
#include <cstdint>

// A well-mixed 32-bit hash of three integers.
uint32_t Hash3(int32_t x, int32_t y, uint32_t seed);

// A uniform real in [0, 1) from the hash.
float HashUnit(int32_t x, int32_t y, uint32_t seed);

// Smooth value noise in [0, 1], repeating every periodCells (>= 1) in x and y.
float ValueNoise(float x, float y, int periodCells, uint32_t seed);

// Fractal sum of octaves (1..8) of value noise, each twice as fine and half as strong; result in [0, 1].
float FractalNoise(float x, float y, int periodCells, int octaves, uint32_t seed);
