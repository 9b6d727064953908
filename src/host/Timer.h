#pragma once

#include <functional>
#include <string>

namespace API {

// The host's timer: runs a callable once after a delay in whole seconds. A delay
// of 0 or less runs at the timer's next pass. The tag and the library path say
// which plugin the callable belongs to; the host drops a plugin's pending
// callables when it unloads that plugin, since their code goes with it.
class Timer {
 public:
  static Timer& Get();

  virtual void DelayExecuteInternal(const std::function<void()>& callback, int delay_seconds,
                                    const std::string& tag, const std::string& library_path) = 0;

 protected:
  virtual ~Timer() = default;
};

}  // namespace API
