#pragma once
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "mac/Notifications.h"

namespace penmac {

// Tells the main thread's loop that notifications are waiting.
class IMainQueueWaker {
 public:
  virtual ~IMainQueueWaker() = default;
  virtual void Wake() = 0;
};

// Notifications from any thread, delivered on the main thread in the order
// they were posted, to the observers registered by the time they are
// delivered (so nothing posted while the application is still starting up is
// lost). The queue is a fixed ring: posting copies into a slot and never
// allocates for a report. When the main thread falls a whole ring behind,
// the posting thread waits for room rather than dropping a device's arrival
// or removal.
class NotificationCenter : public INotificationCenter {
 public:
  static constexpr size_t kCapacity = 256;

  explicit NotificationCenter(IMainQueueWaker& waker);

  ObserverToken AddObserverOnMainQueue(std::string_view name,
                                       std::function<void(const Notification&)> handler) override;
  void RemoveObserver(ObserverToken token) override;
  void Post(Notification notification) override;

  // Main thread: delivers every notification waiting now, and those posted
  // while it runs. Returns how many were delivered. A call from inside an
  // observer delivers nothing: the running drain goes on with the rest.
  size_t DrainMainQueue();
  // Releases a poster waiting for room; later posts are dropped.
  void Shutdown();

 private:
  struct Observer {
    ObserverToken token;
    std::string name;
    std::function<void(const Notification&)> handler;
  };

  IMainQueueWaker& waker_;
  std::vector<Observer> observers_;
  ObserverToken nextToken_ = 1;
  bool draining_ = false;  // main thread only

  std::mutex mutex_;
  std::condition_variable room_;
  std::vector<Notification> ring_;
  size_t head_ = 0;  // next to deliver
  size_t count_ = 0;
  bool shutdown_ = false;
};

}  // namespace penmac
