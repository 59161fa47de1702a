#pragma once
// Reference counting shared by every object of both devices: created with one reference, deleted when
// the last one is released.
#include "gpu/d3d8.h"

template <class Interface>
class RefCounted : public Interface {
 public:
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 private:
  ULONG references_ = 1;
};

// Releases one reference, where there is one, and clears the pointer.
template <class Object>
void ReleaseReference(Object*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}
