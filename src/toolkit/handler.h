// What a control, timer or menu entry runs on its event.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>

namespace velmora::toolkit {

// What fits in a handler: a callable held by value, as a lambda capturing `this`.
template <class F, class Handler, class... Args>
concept SmallCallable = !std::is_same_v<std::decay_t<F>, Handler> && std::is_trivially_copyable_v<std::decay_t<F>> &&
                        sizeof(std::decay_t<F>) <= 16 && std::is_invocable_v<const std::decay_t<F>&, Args...>;

template <class... Args>
class Handler {
public:
    Handler() = default;
    Handler(std::nullptr_t) {}
    template <SmallCallable<Handler, Args...> F>
    Handler(F f)
        : call_([](const unsigned char* held, Args... args) {
              (*std::launder(reinterpret_cast<const std::decay_t<F>*>(held)))(args...);
          }) {
        ::new (static_cast<void*>(held_)) std::decay_t<F>(f);
    }
    explicit operator bool() const { return call_ != nullptr; }
    void operator()(Args... args) const { call_(held_, args...); }

private:
    alignas(std::max_align_t) unsigned char held_[16] = {};
    void (*call_)(const unsigned char*, Args...) = nullptr;
};

}  // namespace velmora::toolkit
