#pragma once

namespace pen {

// A method pointer paired with the object it belongs to: the callbacks of the
// device link, the power watcher and the host. Copying or calling one never
// allocates, so it is safe on the per-report path.
template <class... Args>
class Event {
 public:
  using Fn = void (*)(void*, Args...);

  constexpr Event() = default;
  constexpr Event(void* self, Fn fn) : self_(self), fn_(fn) {}

  template <auto Method, class T>
  static constexpr Event Bind(T* obj) {
    return Event(obj, [](void* s, Args... a) { (static_cast<T*>(s)->*Method)(a...); });
  }

  constexpr explicit operator bool() const { return fn_ != nullptr; }
  // The same method of the same object.
  friend constexpr bool operator==(const Event&, const Event&) = default;

  void operator()(Args... a) const {
    if (fn_) fn_(self_, a...);
  }

 private:
  void* self_ = nullptr;
  Fn fn_ = nullptr;
};

}  // namespace pen
