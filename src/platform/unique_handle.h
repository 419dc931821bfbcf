// The owner of one OS handle, released exactly once, on every path.
#pragma once

#include <utility>

namespace velmora::platform {

// A move-only owner of one handle; Release is the API's function that gives it
// back. Null handles (Null: none held, T{} unless the API says otherwise, as -1
// for a file descriptor) are never released.
template <class T, auto Release, T Null = T{}>
class unique_handle {
public:
    unique_handle() = default;
    explicit unique_handle(T handle) : handle_(handle) {}
    ~unique_handle() { reset(); }
    unique_handle(unique_handle&& other) noexcept : handle_(other.release()) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;

    T get() const { return handle_; }
    explicit operator bool() const { return handle_ != Null; }
    T release() { return std::exchange(handle_, Null); }
    void reset(T handle = Null) {
        const T old = std::exchange(handle_, handle);
        if (old != Null) Release(old);
    }
    // For out-parameters of the API: releases what is held first.
    T* put() {
        reset();
        return &handle_;
    }

private:
    T handle_ = Null;
};

}  // namespace velmora::platform
