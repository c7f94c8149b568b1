#pragma once
// A call handed to a function that makes it before returning: a handler run inside the
// form's error boundary, the action between pulling and pushing a form's controls. It only
// refers to the callable, which the caller's expression keeps alive for the whole call, so
// it copies and destroys nothing. A std::function there would bring, for every lambda
// passed, the code that copies and destroys it and the clean-up for an exception on the way.
// Never keep one beyond the call it was passed to.

#include <memory>
#include <type_traits>

namespace ombrix {

class TCallbackRef {
 public:
  // Implicit, so that a lambda or a stored std::function is passed as it is.
  template <class Callable, class = std::enable_if_t<!std::is_same_v<std::decay_t<Callable>, TCallbackRef>>>
  TCallbackRef(Callable&& callable)
      : callable_(const_cast<void*>(static_cast<const void*>(std::addressof(callable)))),
        call_([](void* referred) { (*static_cast<std::remove_reference_t<Callable>*>(referred))(); }) {}

  void operator()() const { call_(callable_); }

 private:
  void* callable_;
  void (*call_)(void* referred);
};

}  // namespace ombrix
