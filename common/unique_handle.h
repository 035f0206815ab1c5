#pragma once

#include <utility>

// Owns one handle of an operating-system resource and gives it back with the
// close function of its kind when it goes: the one ownership idiom of the
// program, for every kind of handle. The kind is a small traits type:
//
//     struct Kind {
//         using Handle = ...;
//         static Handle invalid();                 // what holds nothing
//         void close(Handle handle) const;        // never called with invalid
//     };
//
// A kind that needs more than the handle to close it (the window of a device
// context, for one) keeps it in the traits object, given to the constructor.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle, Traits traits = Traits()) : handle_(handle), traits_(std::move(traits)) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, Traits::invalid())), traits_(std::move(other.traits_)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Traits::invalid());
            traits_ = std::move(other.traits_);
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::invalid(); }

    // Closes the handle held so far and holds the new one. Given the handle
    // it already holds, it keeps it open: closing it would leave this owner
    // holding a closed handle that it closes a second time when it goes.
    void reset(Handle handle = Traits::invalid()) {
        if (handle == handle_) return;
        const Handle old = std::exchange(handle_, handle);
        if (old != Traits::invalid()) traits_.close(old);
    }

    // Gives the handle up without closing it: someone else owns it now.
    Handle release() { return std::exchange(handle_, Traits::invalid()); }

private:
    Handle handle_ = Traits::invalid();
    Traits traits_;
};
