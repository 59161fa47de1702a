#pragma once
// The demo's texture set, painted procedurally with fixed seeds (the same pictures on every run).
// Pure black (0, 0, 0) is where a texture is meant to be see-through: the demo loads textures with
// opaque black as its colour key. Opaque textures never contain pure black.
#include "tools/image.h"

// Where a texture is see-through.
enum class Backdrop {
  opaque,            // nowhere
  partlySeeThrough,  // between its shapes
  clearBorder,       // everywhere along its border: a glow that ends inside the square (particles)
};

struct TextureRecipe {
  int sizePx;  // width = height, a power of two
  Backdrop backdrop;
  const char* look;  // one line for people: what it shows and what it suits
  Image (*paint)(int sizePx);
};

// Number of textures in the set (texture0 .. textureN-1).
int TextureRecipeCount();

// The recipe of texture number 0..TextureRecipeCount()-1.
const TextureRecipe& GetTextureRecipe(int number);
