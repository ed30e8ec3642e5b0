#pragma once
// An owning reference to a component object: adds a reference when copied, releases it when
// dropped. T is an interface with a static kIid.

#include "runtime/ComTypes.h"

#include <utility>

namespace rt::com {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a reference the caller already owns (no AddRef).
  static ComPtr adopt(T* raw) {
    ComPtr p;
    p.ptr_ = raw;
    return p;
  }
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (T* p = std::exchange(ptr_, nullptr)) p->Release();
  }
  // For out-parameters: releases the held reference and gives the slot to fill.
  void** put() {
    reset();
    return reinterpret_cast<void**>(&ptr_);
  }
  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T& operator*() const { return *ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

  // Another interface of the same object; an empty pointer when it lacks it.
  template <class U>
  ComPtr<U> as() const {
    ComPtr<U> other;
    if (ptr_) ptr_->QueryInterface(U::kIid, other.put());
    return other;
  }

 private:
  T* ptr_ = nullptr;
};

}  // namespace rt::com
