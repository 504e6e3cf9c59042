// Handle over a pointee that carries its own reference count (`ref_count`,
// `add_ref`, `release`). The handle only reports starts and ends of use; the
// pointee decides what a count means, and the handle never deletes it.
#pragma once
#include <cstdio>

template <typename T>
class counted_ptr {
 public:
  counted_ptr() = default;
  counted_ptr(T* p) : ptr_(p) {  // NOLINT: implicit from raw pointer by design
    if (ptr_) ptr_->add_ref();
  }
  counted_ptr(const counted_ptr& h) : ptr_(h.ptr_) {
    if (ptr_) ptr_->add_ref();
  }
  ~counted_ptr() {
    if (ptr_) ptr_->release();
  }

  // The new pointee is counted before the old one is released, so assigning a
  // handle the pointee it already holds never lets the count dip below its
  // resting value (a shared_surface would free its pixels on that dip).
  counted_ptr& operator=(T* p) {
    T* old = ptr_;
    if (p) p->add_ref();
    ptr_ = p;
    if (old) old->release();
    return *this;
  }
  counted_ptr& operator=(const counted_ptr& h) { return *this = h.ptr_; }

  T* operator->() const {
    if (!ptr_) {
      std::printf("Tried to -> on a NULL smart pointer");
    }
    return ptr_;
  }
  T& operator*() const { return *ptr_; }
  T* get() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }

 private:
  T* ptr_ = nullptr;
};
